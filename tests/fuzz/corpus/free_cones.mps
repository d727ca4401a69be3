NAME c
ROWS
 N  obj
 L  c1
COLUMNS
    x  c1  1
    y  c1  1
RHS
CSECTION  k1  0  QUAD
    x
    y
CSECTION  k2  0  RQUAD
    u
    v
    w
BOUNDS
 FR bnd x
ENDATA
