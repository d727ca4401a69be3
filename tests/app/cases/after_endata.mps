NAME          AFTER
ROWS
 N  obj
 L  c1
COLUMNS
    x obj -1 c1 2
RHS
    rhs c1 4
ENDATA
IMPORTANCES
    x 1
