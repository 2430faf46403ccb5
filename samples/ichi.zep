# ichi (one) - 1 stroke;
L,0;
W;
