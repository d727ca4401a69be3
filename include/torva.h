/*
 * torva.h -- the public interface of the TORVA API optimisation library.
 *
 * Plain C (C99 and later), usable from C++. Every function returns an error
 * code (0 on success, QXERR_* otherwise) unless its declaration says
 * otherwise; the constructors return a handle and write the code through an
 * out-parameter. Arrays passed in are copied and never kept; output arrays
 * belong to the caller, and any output pointer may be null to skip it.
 */
#ifndef TORVA_H
#define TORVA_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define QXAPI __attribute__((visibility("default")))
#else
#define QXAPI
#endif

/* ======================================================================
 * Versions and constants
 * ====================================================================== */
#define QX_VERSION_MAJOR     10
#define QX_VERSION_MINOR     0
#define QX_VERSION_BUILD     2438
#define QX_VERSION_REVISION  85

/* Information items answered without a model (QXgetInfo with a null model). */
#define QX_IINFO_VER_MAJOR     990
#define QX_IINFO_VER_MINOR     991
#define QX_IINFO_VER_BUILD     992
#define QX_IINFO_VER_REVISION  993
#define QX_SINFO_PLATFORM      11237  /* string: the platform code */

#define QX_INFINITY          1.0E+30
#define QX_MIN               1
#define QX_MAX               (-1)

/* ======================================================================
 * Handles
 * ====================================================================== */
typedef struct QXenvRec *QXenv;
typedef struct QXmodelRec *QXmodel;

/* Log function of an environment and of a model: one call per formatted line. */
typedef void (*QXenvLogfunc)(QXenv env, const char *text, void *userdata);
typedef void (*QXmodelLogfunc)(QXmodel model, const char *text, void *userdata);
/* Exit function an installed external solver calls when it must terminate. */
typedef void (*QXexitFunc)(void *userdata);

/* ======================================================================
 * Error codes
 * ====================================================================== */
#define QXERR_NO_ERROR                           0
#define QXERR_OUT_OF_MEMORY                      2001
#define QXERR_CANNOT_OPEN_FILE                   2002
#define QXERR_BAD_MPS_FILE                       2003
#define QXERR_BAD_CONSTRAINT_TYPE                2004
#define QXERR_BAD_MODEL                          2005
#define QXERR_BAD_SOLVER_TYPE                    2006
#define QXERR_BAD_OBJECTIVE_SENSE                2007
#define QXERR_BAD_MPI_FILE                       2008
#define QXERR_INFO_NOT_AVAILABLE                 2009
#define QXERR_ILLEGAL_NULL_POINTER               2010
#define QXERR_UNABLE_TO_SET_PARAM                2011
#define QXERR_INDEX_OUT_OF_RANGE                 2012
#define QXERR_ERRMSG_FILE_NOT_FOUND              2013
#define QXERR_VARIABLE_NOT_FOUND                 2014
#define QXERR_INTERNAL_ERROR                     2015
#define QXERR_ITER_LIMIT                         2016
#define QXERR_TIME_LIMIT                         2017
#define QXERR_NOT_CONVEX                         2018
#define QXERR_NUMERIC_INSTABILITY                2019
#define QXERR_STEP_TOO_SMALL                     2021
#define QXERR_USER_INTERRUPT                     2023
#define QXERR_PARAMETER_OUT_OF_RANGE             2024
#define QXERR_ERROR_IN_INPUT                     2025
#define QXERR_NOT_SUPPORTED                      2029
#define QXERR_MODEL_ALREADY_LOADED               2030
#define QXERR_MODEL_NOT_LOADED                   2031
#define QXERR_INDEX_DUPLICATE                    2032
#define QXERR_INSTRUCT_NOT_LOADED                2033
#define QXERR_BRANCH_LIMIT                       2037
#define QXERR_GOP_FUNC_NOT_SUPPORTED             2038
#define QXERR_GOP_BRANCH_LIMIT                   2039
#define QXERR_BAD_DECOMPOSITION_TYPE             2040
#define QXERR_BASIS_BOUND_MISMATCH               2042
#define QXERR_BASIS_COL_STATUS                   2043
#define QXERR_BASIS_INVALID                      2044
#define QXERR_BASIS_ROW_STATUS                   2045
#define QXERR_BLOCK_OF_BLOCK                     2046
#define QXERR_INPUT_OUT_OF_RANGE                 2047
#define QXERR_COLBEG_INVALID                     2048
#define QXERR_COLUMN_INDEX_OUT_OF_RANGE          2049
#define QXERR_COLUMN_LENGTH_INVALID              2050
#define QXERR_BAD_ERROR_CODE                     2051
#define QXERR_ROW_INDEX_OUT_OF_RANGE             2052
#define QXERR_TOTAL_NONZ_INVALID                 2053
#define QXERR_MODEL_NOT_LINEAR                   2054
#define QXERR_USER_FUNCTION_NOT_SET              2056
#define QXERR_BAD_STRING_OPERATION               2058
#define QXERR_STRINGS_ALREADY_LOADED             2059
#define QXERR_STRINGS_NOT_LOADED                 2060
#define QXERR_INSTRUCT_BAD_COUNT                 2064
#define QXERR_INSTRUCT_TOO_SHORT                 2065
#define QXERR_INSTRUCT_BOUND_CONFLICT            2066
#define QXERR_INSTRUCT_SYNTAX                    2067
#define QXERR_COLUMN_TOKEN_NOT_FOUND             2068
#define QXERR_ROW_TOKEN_NOT_FOUND                2069
#define QXERR_NAME_TOKEN_NOT_FOUND               2070
#define QXERR_BAD_DECOMPOSITION_STRUCTURE        2072
#define QXERR_NO_MULTITHREAD_SUPPORT             2073
#define QXERR_INVALID_PARAMETER_ID               2074
#define QXERR_BAD_THREAD_COUNT                   2075
#define QXERR_COLUMN_LIMIT                       2076
#define QXERR_QC_DATA_NOT_LOADED                 2077
#define QXERR_QC_ROW_EMPTY                       2078
#define QXERR_XSOLVER_LOAD                       2080
#define QXERR_XSOLVER_NO_FILENAME                2081
#define QXERR_XSOLVER_ALREADY_LOADED             2082
#define QXERR_XSOLVER_FUNC_NOT_INSTALLED         2083
#define QXERR_XSOLVER_NOT_INSTALLED              2084
#define QXERR_ZLIB_LOAD                          2085
#define QXERR_XSOLVER_ENV_NOT_CREATED            2086
#define QXERR_SOLPOOL_EMPTY                      2087
#define QXERR_SOLPOOL_FULL                       2088
#define QXERR_LDL_ERROR                          2201
#define QXERR_LDL_EMPTY_COLUMN                   2202
#define QXERR_LDL_BAD_INPUT                      2203
#define QXERR_LDL_BAD_DIMENSION                  2204
#define QXERR_LDL_EMPTY_MATRIX                   2205
#define QXERR_LDL_NOT_SYMMETRIC                  2206
#define QXERR_LDL_ZERO_DIAGONAL                  2207
#define QXERR_LDL_BAD_PERMUTATION                2208
#define QXERR_LDL_DUPLICATES                     2209
#define QXERR_LDL_RANK_DEFICIENT                 2210
#define QXERR_STOC_CORE_MPS_ERROR                2301
#define QXERR_STOC_TIME_ERROR                    2302
#define QXERR_STOC_STOC_ERROR                    2303
#define QXERR_STOC_CORE_MPI_ERROR                2304
#define QXERR_STOC_STOC_MPI_ERROR                2305
#define QXERR_STOC_CORE_OPEN                     2306
#define QXERR_STOC_TIME_OPEN                     2307
#define QXERR_STOC_STOC_OPEN                     2308
#define QXERR_STOC_NOT_LOADED                    2309
#define QXERR_STOC_STOC_PARAM_NOT_FOUND          2310
#define QXERR_STOC_TIME_PARAM_NOT_FOUND          2311
#define QXERR_STOC_SCENARIO_SEQUENCE             2312
#define QXERR_STOC_ALREADY_LOADED                2313
#define QXERR_STOC_SCENARIO_CDF                  2314
#define QXERR_STOC_NO_CORE_PARAMS                2315
#define QXERR_STOC_CORE_TIME_PARAM_COUNT         2316
#define QXERR_STOC_PARAM_INDEX                   2317
#define QXERR_STOC_TIME_UNEXPECTED_PARAM         2318
#define QXERR_STOC_TIME_STOC_PARAM_COUNT         2319
#define QXERR_STOC_NO_OUTCOME_VALUE              2320
#define QXERR_STOC_INFO_UNAVAILABLE              2321
#define QXERR_STOC_CORE_BOUND_NAME               2322
#define QXERR_STOC_CORE_OBJ_NAME                 2323
#define QXERR_STOC_CORE_RHS_NAME                 2324
#define QXERR_STOC_CORE_RANGE_NAME               2325
#define QXERR_STOC_STOC_TOKEN                    2326
#define QXERR_STOC_STOC_NO_ROOT                  2327
#define QXERR_STOC_NODE_UNBOUNDED                2328
#define QXERR_STOC_NODE_INFEASIBLE               2329
#define QXERR_STOC_TOO_MANY_SCENARIOS            2330
#define QXERR_STOC_NODE_NUMERICS                 2331
#define QXERR_STOC_AGGREGATION                   2332
#define QXERR_STOC_EVENT_TREE                    2333
#define QXERR_STOC_STAGE_INDEX                   2334
#define QXERR_STOC_BAD_ALGORITHM                 2335
#define QXERR_STOC_CORE_STAGE_COUNT              2336
#define QXERR_STOC_TEMPORAL_ORDER                2337
#define QXERR_STOC_TIME_STAGE_COUNT              2338
#define QXERR_STOC_CORE_TIME_MISMATCH            2339
#define QXERR_STOC_INVALID_CDF                   2340
#define QXERR_STOC_BAD_DISTRIBUTION              2341
#define QXERR_STOC_SCALE_OUT_OF_RANGE            2342
#define QXERR_STOC_SHAPE_OUT_OF_RANGE            2343
#define QXERR_STOC_BAD_PROBABILITY               2344
#define QXERR_STOC_NO_DERIVATIVE                 2345
#define QXERR_STOC_BAD_STDDEV                    2346
#define QXERR_STOC_BAD_VALUE                     2347
#define QXERR_STOC_BAD_DISTR_PARAMS              2348
#define QXERR_STOC_ROOT_ITER_LIMIT               2349
#define QXERR_STOC_ARRAY_OUT_OF_BOUNDS           2350
#define QXERR_STOC_NO_LIMITING_PDF               2351
#define QXERR_STOC_RG_NOT_SET                    2352
#define QXERR_STOC_DISTR_TRUNCATED               2353
#define QXERR_STOC_MISSING_PARAM_VALUE           2354
#define QXERR_STOC_DISTR_PARAM_COUNT             2355
#define QXERR_STOC_CORE_NOT_TEMPORAL             2357
#define QXERR_STOC_BAD_SAMPLE_SIZE               2358
#define QXERR_STOC_NODE_PROB_CONTINUOUS          2359
#define QXERR_STOC_SCENARIO_LIMIT                2360
#define QXERR_STOC_BAD_CORRELATION_TYPE          2361
#define QXERR_STOC_STAGES_NOT_SET                2362
#define QXERR_STOC_SAMPLED_TREE_EXISTS           2363
#define QXERR_STOC_EVENTS_NOT_LOADED             2364
#define QXERR_STOC_TREE_INITIALIZED              2365
#define QXERR_STOC_SEED_NOT_SET                  2366
#define QXERR_STOC_SAMPLE_EXHAUSTED              2367
#define QXERR_STOC_SAMPLING_EXPLICIT             2368
#define QXERR_STOC_SAMPLE_NOT_GENERATED          2369
#define QXERR_STOC_SAMPLE_GENERATED              2370
#define QXERR_STOC_SAMPLE_TOO_SMALL              2371
#define QXERR_STOC_RG_ALREADY_SET                2372
#define QXERR_STOC_SAMPLING_JOINT                2373
#define QXERR_STOC_STAGE_NO_PARAMS               2374
#define QXERR_STOC_STAGE_NO_ROWS                 2375
#define QXERR_STOC_STAGE_NO_COLS                 2376
#define QXERR_STOC_SAMPLE_SIZE_CONFLICT          2377
#define QXERR_STOC_EMPTY_SCENARIO                2378
#define QXERR_STOC_NO_CORRELATION                2379
#define QXERR_STOC_NO_DISCRETE_TABLE             2380
#define QXERR_STOC_NO_CONTINUOUS_PARAMS          2381
#define QXERR_STOC_CHANCE_ROW_TAKEN              2382
#define QXERR_STOC_NO_CHANCE_CONS                2383
#define QXERR_STOC_CUT_LIMIT                     2384
#define QXERR_STOC_GA_NOT_INIT                   2385
#define QXERR_STOC_CHANCE_ROWS_UNASSIGNED        2386
#define QXERR_STOC_SAMPLE_SOURCE_ASSIGNED        2387
#define QXERR_STOC_USER_DISTR_NOT_SET            2388
#define QXERR_STOC_SAMPLE_CALL_UNSUPPORTED       2389
#define QXERR_STOC_INSTR_MULTIPLE                2390
#define QXERR_STOC_INSTR_SAME_POSITION           2391
#define QXERR_STOC_OBJ_STOC_PARAM                2392
#define QXERR_STOC_DISTR_PARAM_NOT_SET           2393
#define QXERR_STOC_BAD_STOC_INPUT                2394
#define QXERR_MPS_MISSING_ROWS                   2577
#define QXERR_MPS_MISSING_COLUMNS                2578
#define QXERR_MPS_MISSING_RHS                    2579
#define QXERR_MPS_MISSING_ENDATA                 2580
#define QXERR_MPS_ROW_MISSING_VALUE              2581
#define QXERR_MPS_ROW_EXTRA_VALUE                2582
#define QXERR_MPS_COL_MISSING_VALUE              2583
#define QXERR_MPS_COL_EXTRA_VALUE                2584
#define QXERR_MPS_RHS_MISSING_VALUE              2585
#define QXERR_MPS_RHS_EXTRA_VALUE                2586
#define QXERR_MPS_BND_MISSING_VALUE              2587
#define QXERR_MPS_BND_EXTRA_VALUE                2588
#define QXERR_MPS_INTEGER_VARS                   2589
#define QXERR_MPS_BINARY_VARS                    2590
#define QXERR_MPS_SEMICONT_VARS                  2591
#define QXERR_MPS_BND_UNKNOWN_TAG                2592
#define QXERR_MPS_MULTIPLE_OBJ                   2593
#define QXERR_SUBPROBLEM_FAILED                  2594
#define QXERR_BINSOL_WRITE                       2595
#define QXERR_BINSOL_READ                        2596
#define QXERR_BINSOL_EOF                         2597

/* ======================================================================
 * Model status codes
 * ====================================================================== */
#define QX_STATUS_UNLOADED   13
#define QX_STATUS_LOADED     14

/* ======================================================================
 * Copy modes (QX_IPARAM_COPY_MODE, a bitmask)
 * ====================================================================== */
#define QX_RAW_COPY     0
#define QX_DEEP_COPY    1
#define QX_TIME_COPY    2
#define QX_STOC_COPY    4
#define QX_SNGSTG_COPY  8

/* ======================================================================
 * Environments and models
 * ====================================================================== */
QXAPI QXenv QXcreateEnv(int *errorcode);
QXAPI int QXdeleteEnv(QXenv *env);
QXAPI QXmodel QXcreateModel(QXenv env, int *errorcode);
/* A null model or a null *model is accepted and returns 0. */
QXAPI int QXdeleteModel(QXmodel *model);
QXAPI QXmodel QXcopyModel(QXmodel source, int *errorcode);
QXAPI int QXgetModelEnv(QXmodel model, QXenv *env);
QXAPI int QXgetEnvModelCount(QXenv env, int *count);
/* models must hold as many handles as QXgetEnvModelCount reports; creation order. */
QXAPI int QXgetEnvModelList(QXenv env, QXmodel *models);
QXAPI int QXsetEnvLogfunc(QXenv env, QXenvLogfunc logfunc, void *userdata);
QXAPI int QXsetModelLogfunc(QXmodel model, QXmodelLogfunc logfunc, void *userdata);
QXAPI int QXsetEnvExitFunc(QXenv env, QXexitFunc exitfunc, void *userdata);
QXAPI void QXfreeSolverMemory(QXmodel model);
QXAPI void QXfreeSolutionMemory(QXmodel model);
QXAPI void QXfreeMIPSolutionMemory(QXmodel model);
QXAPI void QXfreeGOPSolutionMemory(QXmodel model);
QXAPI void QXfreeNLPSolverMemory(QXmodel model);
QXAPI void QXfreeHashMemory(QXmodel model);
QXAPI int QXfreeNameData(QXmodel model);

/* ======================================================================
 * Error messages
 * ====================================================================== */
/* message must hold at least 140 bytes; env may be null. */
QXAPI int QXgetErrorMessage(QXenv env, int errorcode, char *message);
QXAPI int QXgetFileError(QXmodel model, int *linenum, char *linetxt);
QXAPI int QXgetErrorRowIndex(QXmodel model, int *row);

/* ======================================================================
 * Version and library information
 * ====================================================================== */
/* version receives "major.minor.build.revision" (revision in three digits),
 * builddate the date and time the library was built; either may be null. */
QXAPI int QXgetVersionInfo(char *version, char *builddate);
/* result points at an int, a double or a character buffer according to item.
 * With a null model only the library items (versions, platform) answer. */
QXAPI int QXgetInfo(QXmodel model, int item, void *result);

/* ======================================================================
 * Parameters
 * ====================================================================== */

/* ======================================================================
 * Callbacks and logging
 * ====================================================================== */

/* ======================================================================
 * Parameter files
 * ====================================================================== */

/* ======================================================================
 * Loading model data
 * ====================================================================== */
/* Variable type character rejected by QXloadVarType (a code without text). */
#define QXERR_BAD_VARIABLE_TYPE                  2041

/* Linear core: nCons rows, nVars columns, the matrix column-major (paiAcols
 * has nVars+1 starts, panAcols optional lengths). Duplicate rows within a
 * column are added together; bounds are clamped into [-1e30, 1e30]; a null
 * padL gives lower bounds 0, a null padU upper bounds QX_INFINITY.
 * dObjSense is QX_MIN or QX_MAX. A failure leaves the model unloaded. */
QXAPI int QXloadLPData(QXmodel pModel, int nCons, int nVars, int dObjSense, double dObjConst,
                       const double *padC, const double *padB, const char *pszConTypes,
                       int nAnnz, const int *paiAcols, const int *panAcols,
                       const double *padAcoef, const int *paiArows, const double *padL,
                       const double *padU);
/* One of 'C', 'B', 'I', 'S' per variable; null removes all types. 'B' clamps
 * the bounds into [0, 1]; 'S' makes the variable semi-continuous with its
 * current bounds. */
QXAPI int QXloadVarType(QXmodel pModel, const char *pszVarTypes);
QXAPI int QXloadSemiContData(QXmodel pModel, int nSC, const int *paiVars, const double *padL,
                             const double *padU);
/* Any argument may be null, leaving that kind of name unchanged. connames
 * holds one name per constraint, varnames one per variable, conenames one
 * per cone. */
QXAPI int QXloadNameData(QXmodel model, const char *title, const char *objname,
                         const char *rhsname, const char *rngname, const char *bndname,
                         char **connames, char **varnames, char **conenames);
/* Quadratic triplets; row -1 is the objective. */
QXAPI int QXloadQCData(QXmodel pModel, int QCnonzeros, const int *QCrowndx, const int *QCcolndx1,
                       const int *QCcolndx2, const double *QCcoef);
/* Cone types 'Q' (quadratic) or 'R' (rotated quadratic); members of cone k
 * are paiConecols[paiConebegcone[k] .. paiConebegcone[k+1]-1]. */
QXAPI int QXloadConeData(QXmodel pModel, int nCone, const char *pszConeTypes,
                         const int *paiConebegcone, const int *paiConecols);
/* Set types 1, 2, 3 or 4 (cardinality set, with paiCARDnum); the digits
 * '1' to '4' are accepted too and stored as 1 to 4. */
QXAPI int QXloadSETSData(QXmodel pModel, int nSETS, const char *pszSETStype,
                         const int *paiCARDnum, const int *paiSETSbegcol,
                         const int *paiSETScols);
QXAPI int QXloadVarPriorities(QXmodel model, const int *priority);
/* Lines "name priority"; names are looked up as by QXgetVariableIndex. */
QXAPI int QXreadVarPriorities(QXmodel model, const char *file);
QXAPI int QXloadVarStartPoint(QXmodel model, const double *x);
QXAPI int QXloadMIPVarStartPoint(QXmodel model, const double *x);
QXAPI int QXloadVarStartPointPartial(QXmodel model, int count, const int *vars, const double *x);
QXAPI int QXloadMIPVarStartPointPartial(QXmodel model, int count, const int *vars, const int *x);
QXAPI int QXgetVarStartPoint(QXmodel model, double *x);
QXAPI int QXgetMIPVarStartPoint(QXmodel model, double *x);
QXAPI int QXgetVarStartPointPartial(QXmodel model, int *count, int *vars, double *x);
QXAPI int QXgetMIPVarStartPointPartial(QXmodel model, int *count, int *vars, int *x);
/* Starting basis of the simplex: one status per column and per row (basic
 * 0 or more, -1 at lower, -2 at upper, -3 free at zero, -4 superbasic). A
 * null array discards the basis. */
QXAPI int QXloadBasis(QXmodel model, const int *colstatus, const int *rowstatus);

/* ======================================================================
 * Model and solution queries
 * ====================================================================== */
/* Model information items (QXgetInfo). */
#define QX_IINFO_NUM_CONS               11010
#define QX_IINFO_NUM_VARS               11011
#define QX_IINFO_NUM_NONZ               11012
#define QX_IINFO_NUM_BIN                11013
#define QX_IINFO_NUM_INT                11014
#define QX_IINFO_NUM_CONT               11015
#define QX_IINFO_NUM_QC_NONZ            11016
#define QX_IINFO_NUM_NLP_NONZ           11017
#define QX_IINFO_NUM_NLPOBJ_NONZ        11018
#define QX_IINFO_NUM_RDCONS             11019
#define QX_IINFO_NUM_RDVARS             11020
#define QX_IINFO_NUM_RDNONZ             11021
#define QX_IINFO_NUM_RDINT              11022
#define QX_IINFO_LEN_VARNAMES           11023
#define QX_IINFO_LEN_CONNAMES           11024
#define QX_IINFO_NUM_NLP_CONS           11025
#define QX_IINFO_NUM_NLP_VARS           11026
#define QX_IINFO_NUM_SUF_ROWS           11027
#define QX_IINFO_NUM_IIS_ROWS           11028
#define QX_IINFO_NUM_SUF_BNDS           11029
#define QX_IINFO_NUM_IIS_BNDS           11030
#define QX_IINFO_NUM_SUF_COLS           11031
#define QX_IINFO_NUM_IUS_COLS           11032
#define QX_IINFO_NUM_CONES              11033
#define QX_IINFO_NUM_CONE_NONZ          11034
#define QX_IINFO_LEN_CONENAMES          11035
#define QX_DINFO_INST_VAL_MIN_COEF      11036
#define QX_IINFO_INST_VARNDX_MIN_COEF   11037
#define QX_IINFO_INST_CONNDX_MIN_COEF   11038
#define QX_DINFO_INST_VAL_MAX_COEF      11039
#define QX_IINFO_INST_VARNDX_MAX_COEF   11040
#define QX_IINFO_INST_CONNDX_MAX_COEF   11041
#define QX_IINFO_NUM_SPARS              11059
#define QX_IINFO_OBJSENSE               1022
/* Solution information items. */
#define QX_IINFO_METHOD                 11200
#define QX_DINFO_POBJ                   11201
#define QX_DINFO_DOBJ                   11202
#define QX_DINFO_PINFEAS                11203
#define QX_DINFO_DINFEAS                11204
#define QX_IINFO_MODEL_STATUS           11205
#define QX_IINFO_PRIMAL_STATUS          11206
#define QX_IINFO_DUAL_STATUS            11207
#define QX_IINFO_BASIC_STATUS           11208
#define QX_IINFO_BAR_ITER               11209
#define QX_IINFO_SIM_ITER               11210
#define QX_IINFO_NLP_ITER               11211
#define QX_IINFO_ELAPSED_TIME           11212
#define QX_IINFO_MIP_STATUS             11300
#define QX_DINFO_MIP_OBJ                11301
#define QX_DINFO_MIP_BESTBOUND          11302
#define QX_IINFO_MIP_SIM_ITER           11303
#define QX_IINFO_MIP_BAR_ITER           11304
#define QX_IINFO_MIP_NLP_ITER           11305
#define QX_IINFO_MIP_BRANCHCOUNT        11306
#define QX_IINFO_MIP_NEWIPSOL           11307
#define QX_IINFO_MIP_LPCOUNT            11308
#define QX_IINFO_MIP_ACTIVENODES        11309

/* Solution vectors of QXgetSolution. */
#define QX_SOLUTION_PRIMAL              11
#define QX_SOLUTION_DUAL                12
#define QX_SOLUTION_SLACKS              13
#define QX_SOLUTION_REDCOSTS            14
#define QX_SOLUTION_PRIMAL_2            15
#define QX_SOLUTION_DUAL_2              16
#define QX_SOLUTION_SLACKS_2            17
#define QX_SOLUTION_REDCOSTS_2          18

/* The linear core in the arrays of QXloadLPData; the matrix comes back
 * compacted (paiAcols has n+1 entries, no spare space); pszConTypes receives
 * m characters without a terminator. */
QXAPI int QXgetLPData(QXmodel pModel, int *pnObjSense, double *pdObjConst, double *padC,
                      double *padB, char *pszConTypes, int *paiAcols, int *panAcols,
                      double *padAcoef, int *paiArows, double *padL, double *padU);
QXAPI int QXgetLPVariableDataj(QXmodel model, int j, char *vartype, double *cost, double *lower,
                               double *upper, int *nnz, int *rows, double *values);
QXAPI int QXgetLPConstraintDatai(QXmodel model, int i, char *contype, double *rhs, int *nnz,
                                 int *cols, double *values);
QXAPI int QXgetLowerBoundj(QXmodel model, int j, double *lower);
QXAPI int QXgetUpperBoundj(QXmodel model, int j, double *upper);
QXAPI int QXgetConstraintDatai(QXmodel model, int i, char *contype, char *isnlp, double *rhs);
/* n characters; 'C' for every variable when no types are loaded. */
QXAPI int QXgetVarType(QXmodel model, char *vartype);
QXAPI int QXgetSemiContData(QXmodel model, int *count, int *vars, double *lower, double *upper);
/* Sets: count, total members, types (1..4), cardinality numbers, count+1
 * starts and the members. */
QXAPI int QXgetSETSData(QXmodel model, int *nSETS, int *nTotal, char *pszSETStype,
                        int *paiCARDnum, int *paiSETSbegcol, int *paiSETScols);
QXAPI int QXgetSETSDatai(QXmodel model, int k, char *type, int *cardnum, int *nnz, int *cols);
/* Quadratic triplets grouped by row (objective -1 first). */
QXAPI int QXgetQCData(QXmodel model, int *QCnonzeros, int *QCrowndx, int *QCcolndx1,
                      int *QCcolndx2, double *QCcoef);
/* Terms of one row, -1 for the objective. */
QXAPI int QXgetQCDatai(QXmodel model, int row, int *nnz, int *QCcolndx1, int *QCcolndx2,
                       double *QCcoef);
/* Cones: count, types, count+1 starts and members. */
QXAPI int QXgetConeData(QXmodel model, int *nCone, char *pszConeTypes, int *paiConebegcone,
                        int *paiConecols);
QXAPI int QXgetConeDatai(QXmodel model, int k, char *type, int *nnz, int *cols);
/* Each non-null list receives one name per item, copied into the buffer its
 * entry points at. */
QXAPI int QXgetNameData(QXmodel model, char *title, char *objname, char *rhsname, char *rngname,
                        char *bndname, char **connames, char **varnames, char **conenames);
QXAPI int QXgetVariableNamej(QXmodel model, int j, char *name);
QXAPI int QXgetConstraintNamei(QXmodel model, int i, char *name);
QXAPI int QXgetConeNamei(QXmodel model, int k, char *name);
/* Exact, case-sensitive lookups; *index is -1 when the name is not found
 * (2068 for variables, 2069 for constraints, 2070 for cones). */
QXAPI int QXgetVariableIndex(QXmodel model, const char *name, int *index);
QXAPI int QXgetConstraintIndex(QXmodel model, const char *name, int *index);
QXAPI int QXgetConeIndex(QXmodel model, const char *name, int *index);
/* Counts in one call; name lengths count every name's characters plus its
 * terminator (the buffer size that holds all names of the kind). */
QXAPI int QXgetDimensions(QXmodel model, int *nVars, int *nCons, int *nCones, int *nAnnz,
                          int *nQCnz, int *nConeNz, int *nNLPnz, int *nNLPobjNz,
                          int *nVarNameLen, int *nConNameLen, int *nConeNameLen);

QXAPI int QXgetPrimalSolution(QXmodel model, double *x);
QXAPI int QXgetDualSolution(QXmodel model, double *y);
QXAPI int QXgetSlacks(QXmodel model, double *s);
QXAPI int QXgetReducedCosts(QXmodel model, double *d);
QXAPI int QXgetReducedCostsCone(QXmodel model, double *d);
QXAPI int QXgetObjective(QXmodel model, double *obj);
QXAPI int QXgetSolution(QXmodel model, int which, double *out);
QXAPI int QXgetBasis(QXmodel model, int *colstatus, int *rowstatus);
QXAPI int QXgetSolutionStatus(QXmodel model, int *status);
QXAPI int QXgetMIPSolutionStatus(QXmodel model, int *status);
QXAPI int QXgetMIPPrimalSolution(QXmodel model, double *x);
QXAPI int QXgetMIPSolution(QXmodel model, double *obj, double *x);
QXAPI int QXgetMIPDualSolution(QXmodel model, double *y);
QXAPI int QXgetMIPReducedCosts(QXmodel model, double *d);
QXAPI int QXgetMIPBasis(QXmodel model, int *colstatus, int *rowstatus);
QXAPI int QXgetMIPSlacks(QXmodel model, double *s);

/* ======================================================================
 * Model modification
 * ====================================================================== */
/* Every change leaves the model loaded (QX_STATUS_LOADED); a continuous
 * solution stays readable with model status 12 and primal and dual status 14.
 * Indices are checked one by one (2012 out of range); the changes before a
 * failing index may already be applied. */
QXAPI int QXmodifyRHS(QXmodel model, int count, const int *rows, const double *values);
/* Bounds are clamped into [-1e30, 1e30]; binary variables keep bounds within
 * [0, 1] and semi-continuous variables lower bound 0 (else 2047). */
QXAPI int QXmodifyLowerBounds(QXmodel model, int count, const int *vars, const double *values);
QXAPI int QXmodifyUpperBounds(QXmodel model, int count, const int *vars, const double *values);
QXAPI int QXmodifyObjective(QXmodel model, int count, const int *vars, const double *values);
QXAPI int QXmodifyObjConstant(QXmodel model, double value);
/* 'L', 'E', 'G', 'N'; others 2024. */
QXAPI int QXmodifyConstraintType(QXmodel model, int count, const int *rows, const char *types);
/* 'C', 'B', 'I'; others 2024. */
QXAPI int QXmodifyVariableType(QXmodel model, int count, const int *vars, const char *types);
/* Sets the coefficients of column var in the given rows, inserting entries
 * that do not exist; a repeated row takes its last value. */
QXAPI int QXmodifyAj(QXmodel model, int var, int count, const int *rows, const double *values);
/* Removes the entries of column var in the given rows (rows without an entry
 * are ignored). */
QXAPI int QXdeleteAj(QXmodel model, int var, int count, const int *rows);
/* Rows given row-wise: rowbeg has count+1 starts into cols/values; types one
 * of 'L', 'E', 'G', 'N' (else 2004); names and rhs may be null. */
QXAPI int QXaddConstraints(QXmodel model, int count, const char *types, char **names,
                           const int *rowbeg, const double *values, const int *cols,
                           const double *rhs);
/* Columns given as in QXloadLPData; types ('C', 'B', 'I', 'S'; null: all
 * continuous), names, cost, lower and upper may be null. */
QXAPI int QXaddVariables(QXmodel model, int count, const char *types, char **names,
                         const int *colbeg, const int *collen, const double *values,
                         const int *rows, const double *cost, const double *lower,
                         const double *upper);
/* Deleting rows removes their entries, names and quadratic terms and
 * renumbers the remaining rows in order. Deleting columns removes their
 * entries, names, types, priorities and start values, every quadratic term
 * that uses them, their semi-continuous entries and their memberships in
 * cones and sets; a cone or set left with fewer members than its type needs
 * (cone 'Q' 1, 'R' 2; set types 1 and 3 one, type 2 two) is deleted with it,
 * and a cardinality number above the remaining member count is lowered to
 * it. A loaded starting basis is discarded by either deletion. */
QXAPI int QXdeleteConstraints(QXmodel model, int count, const int *rows);
QXAPI int QXdeleteVariables(QXmodel model, int count, const int *vars);
/* Quadratic terms, as QXloadQCData; QXdeleteQCterms removes every term of the
 * listed rows (-1 the objective). */
QXAPI int QXaddQCterms(QXmodel model, int QCnonzeros, const int *QCrowndx, const int *QCcolndx1,
                       const int *QCcolndx2, const double *QCcoef);
QXAPI int QXdeleteQCterms(QXmodel model, int count, const int *rows);
/* Cones, as QXloadConeData; names may be null. */
QXAPI int QXaddCones(QXmodel model, int count, const char *types, char **names,
                     const int *begcone, const int *cols);
QXAPI int QXdeleteCones(QXmodel model, int count, const int *cones);
QXAPI int QXmodifyCone(QXmodel model, int cone, char type, int nnz, const int *cols);
/* Sets, as QXloadSETSData. */
QXAPI int QXaddSETS(QXmodel model, int count, const char *types, const int *cardnum,
                    const int *begcol, const int *cols);
QXAPI int QXdeleteSETS(QXmodel model, int count, const int *sets);
QXAPI int QXmodifySET(QXmodel model, int set, char type, int cardnum, int nnz, const int *cols);
/* Changes the semi-continuous bounds of listed variables, making variables
 * that are not yet semi-continuous so. */
QXAPI int QXmodifySemiContVars(QXmodel model, int count, const int *vars, const double *lower,
                               const double *upper);
/* Makes the listed semi-continuous variables ordinary continuous ones
 * (2012 for a variable that is not semi-continuous). */
QXAPI int QXdeleteSemiContVars(QXmodel model, int count, const int *vars);
/* Reserves spaces[j] spare entries after column j (n values). */
QXAPI int QXaddEmptySpacesAcolumns(QXmodel model, const int *spaces);
/* Reserves room for rows, columns and nonzeros, and for name characters of
 * constraints and variables, ahead of loads and additions. */
QXAPI int QXsetProbAllocSizes(QXmodel model, int nCons, int nVars, int nAnnz);
QXAPI int QXsetProbNameAllocSizes(QXmodel model, int nConNameChars, int nVarNameChars);

/* ======================================================================
 * Model files
 * ====================================================================== */

/* ======================================================================
 * Optimisation
 * ====================================================================== */

/* ======================================================================
 * Random number generators
 * ====================================================================== */

/* ======================================================================
 * Sampling
 * ====================================================================== */

#ifdef __cplusplus
}
#endif

#endif /* TORVA_H */
