NAME t
OBJSENSE
    MAX
ROWS
 N  obj
 L  lrow
 G  grow
 E  epos
 E  eneg
COLUMNS
    x  obj  1  lrow  1
    x  grow  1  epos  1
    y  eneg  1e-3  obj  -2.5D1
RHS
    rhs  lrow  10  grow  1
    rhs  obj  5
RANGES
    rng  lrow  4  grow  -3
    rng  epos  2  eneg  -5
BOUNDS
 FR bnd y
 UP bnd x 1e30
ENDATA
