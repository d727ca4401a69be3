NAME t
ROWS
 N  obj
 L  c1
COLUMNS
    M1  'MARKER'  'INTORG'
    x  obj  1  c1  1
    y  c1  1
    M2  'MARKER'  'INTEND'
 S1 SOS1  'MARKER'  'SOSORG'
    u  c1  1
    v  c1  1
    SOS1  'MARKER'  'SOSEND'
 S2 SOS2  'MARKER'  'SOSORG'
    p  c1  1
    q  c1  1
    SOS2  'MARKER'  'SOSEND'
    z  c1  1 $ comment
RHS
BOUNDS
 UP bnd y 5
 UI bnd z 2.5
 LI bnd u 0.5
 BV bnd v
 SC bnd p 4
 LO bnd p 0.5
 PL bnd x
 FX bnd q 0
ENDATA
