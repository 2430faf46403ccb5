# ni (two) - 2 strokes;
L,0;
W;
L,0;
W;
