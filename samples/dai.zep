# dai (big) - 3 strokes;
L,0;
W;
L,115;
W;
L,45;
W;
