NAME          NINE
ROWS
 N  obj
 L  c1
COLUMNS
    x obj 1 c1 nine
RHS
    rhs c1 4
ENDATA
