# san (three) - 3 strokes;
L,0;
W;
L,0;
W;
L,0;
W;
