NAME INF
ROWS
 N obj
 G c1
 L c2
COLUMNS
    x obj 1 c1 1
    x c2 1
RHS
    rhs c1 5 c2 3
ENDATA
