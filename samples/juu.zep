# juu (ten) - 2 strokes;
L,0;
W;
L,90;
W;
