# hito (person) - 2 strokes;
L,115;
W;
L,45;
W;
