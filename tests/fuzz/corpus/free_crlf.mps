NAME crlf
ROWS
 N  obj
 G  c
COLUMNS
	x	obj	1	c	1
RHS
    c  2
ENDATA
