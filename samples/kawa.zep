# kawa (river) - 3 strokes;
L,100;
W;
L,90;
W;
L,90;
W;
