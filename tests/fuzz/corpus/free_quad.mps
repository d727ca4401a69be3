NAME q
ROWS
 N  obj
 N  gone
 L  c1
COLUMNS
    x  c1  1
    y  c1  1
RHS
    rhs  c1  1
BOUNDS
 UP bnd x 3
QUADOBJ
    x  y  2
    x  x  1
QSECTION  c1
    y  z  3
QSECTION  gone
    x  x  9
ENDATA
