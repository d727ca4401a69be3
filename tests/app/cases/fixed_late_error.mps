NAME          FIXED
ROWS
 N  COST
 L  ROW ONE
COLUMNS
    X         COST                 1   ROW ONE              1
    Y         COST                 2   ROW ONE              1
RHS
    RHS       ROW ONE              4
    RHS       ROW ONE             4x
ENDATA
