* -----------------------------------------------------------------
*                    SOLUTION REPORT                               
* 
* TORVA API Version 10.0.2438.085 built on Dec  6 2026 20:54:14
*
* -----------------------------------------------------------------
* 
*  PROBLEM NAME
* 
*   MILP GLOBAL OPTIMUM FOUND
* 
*   ITERATIONS BY SIMPLEX METHOD    =          11
*   ITERATIONS BY BARRIER METHOD    =           0
*   ITERATIONS BY NLP METHOD        =           0
*   TOTAL BRANCHES CREATED          =           2
*   TOTAL NUMBER OF LPs SOLVED      =          10
*   NUMBER OF CONTRA CUTS           =           0
*   NUMBER OF OBJECTIVE CUTS        =           0
*   NUMBER OF GUB CUTS              =           0
*   NUMBER OF LIFTING CUTS          =           0
*   NUMBER OF FLOW COVER CUTS       =           0
*   NUMBER OF GOMORY CUTS           =           0
*   NUMBER OF GCD CUTS              =           0
*   NUMBER OF CLIQUE CUTS           =           0
*   NUMBER OF DISAGGREGATION CUTS   =           0
*   NUMBER OF PLANT LOCATION CUTS   =           0
*   NUMBER OF LATTICE CUTS          =           0
*   NUMBER OF COEFF. REDUCTION CUTS =           0
*   TOTAL NUMBER OF CUTS GENERATED  =           0
* 
*   OBJECTIVE FUNCTION VALUE
* 
*    1)                 8.500000000
* 
*   VARIABLES                  VALUE             REDUCED COST   

   C0000000            1.000000000                      NON   
   C0000001            2.000000000                      NON   
   C0000002            0.500000000                      NON   

*   CONSTRAINTS       SLACK OR SURPLUS              DUAL PRICES   

   R0000000            0.000000000                      NON   
   R0000001           -0.500000000                      NON   


* END OF REPORT
