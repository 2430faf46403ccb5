# kuchi (mouth) - 3 strokes;
L,90;
W;
P,-145,60,127,130;
W;
L,0;
W;
