NAME          SMALL
ROWS
 N  COST
 L  LIM1
 G  LIM2
 E  MYEQN
COLUMNS
    X1        COST                1.   LIM1                1.
    X1        LIM2                1.
    X2        COST                2.   LIM1                1.
    X2        MYEQN              -1.
    X3        COST               -1.   MYEQN               1.
RHS
    RHS       LIM1                4.   LIM2                1.
    RHS       MYEQN               7.
RANGES
    RNG       LIM1               2.5
BOUNDS
 UP BND       X1                  4.
 LO BND       X2                 -1.
 UP BND       X2                  1.
 MI BND       X3
ENDATA
