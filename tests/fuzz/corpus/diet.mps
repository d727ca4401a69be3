NAME          DIET
* A small diet problem written for the project's examples: choose servings
* of four foods that meet nutrient minimums at the least cost.
ROWS
 N  COST
 G  CALORIES
 G  PROTEIN
 G  CALCIUM
 L  FAT
COLUMNS
    OATS      COST          0.30   CALORIES     110.0
    OATS      PROTEIN        4.0   CALCIUM        2.0
    OATS      FAT            2.0
    MILK      COST          0.23   CALORIES     160.0
    MILK      PROTEIN        8.0   CALCIUM      285.0
    MILK      FAT            9.0
    BEANS     COST          0.60   CALORIES     260.0
    BEANS     PROTEIN       14.0   CALCIUM       80.0
    BEANS     FAT            1.0
    BREAD     COST          0.10   CALORIES      80.0
    BREAD     PROTEIN        3.0   CALCIUM       30.0
    BREAD     FAT            1.0
RHS
    RHS       CALORIES    2000.0   PROTEIN       55.0
    RHS       CALCIUM      800.0   FAT           70.0
BOUNDS
 UP BND       OATS           4.0
 UP BND       MILK           8.0
 UP BND       BEANS          2.0
 UP BND       BREAD         10.0
ENDATA
