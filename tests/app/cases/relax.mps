NAME          RELAX
ROWS
 N  obj
 L  c1
 L  c2
COLUMNS
    MARKER                 'MARKER'                 'INTORG'
    x         obj               -5   c1                 6
    x         c2                 1
    y         obj               -4   c1                 4
    y         c2                 2
    MARKER                 'MARKER'                 'INTEND'
RHS
    rhs       c1                24   c2                 6
ENDATA
