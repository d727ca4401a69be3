NAME UNB
ROWS
 N obj
 G c1
COLUMNS
    x obj -1 c1 1
RHS
    rhs c1 1
ENDATA
