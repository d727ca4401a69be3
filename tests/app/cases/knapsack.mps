NAME          KNAP
OBJSENSE
    MAX
ROWS
 N  value
 L  weight
COLUMNS
    MARKER                 'MARKER'                 'INTORG'
    x1        value     5.0          weight    2.0
    x2        value     4.0          weight    3.0
    x3        value     3.0          weight    1.0
    x4        value     7.0          weight    4.0
    MARKER                 'MARKER'                 'INTEND'
RHS
    rhs       weight    6.0
BOUNDS
 UP BND       x1        1.0
 UP BND       x2        1.0
 UP BND       x3        1.0
 UP BND       x4        1.0
ENDATA
