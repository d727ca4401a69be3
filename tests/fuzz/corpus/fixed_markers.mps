NAME          MIP
ROWS
 N  OBJ
 L  R1
COLUMNS
    MARKER                 'MARKER'                 'INTORG'
    X1        OBJ                 1.   R1                  1.
    MARKER                 'MARKER'                 'INTEND'
    X2        OBJ                 1.   R1                  1.
RHS
    RHS       R1                  3.
BOUNDS
 UP BND       X1                 10.
ENDATA
