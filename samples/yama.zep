# yama (mountain) - 3 strokes;
L,90;
W;
P,210,30,120,118;
W;
L,90;
W;
