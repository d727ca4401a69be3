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
/* Location codes: the caller of a progress callback, passed as its location. */
#define QXLOC_PRIMAL          0   /* LP driver and primal simplex */
#define QXLOC_DUAL            1   /* dual simplex */
#define QXLOC_BARRIER         2   /* LP driver, barrier path */
#define QXLOC_NLP             4   /* nonlinear driver and its local solver */
#define QXLOC_MIP             5   /* integer solver, branch and bound */
#define QXLOC_BANDB           QXLOC_MIP   /* older name of QXLOC_MIP */
#define QXLOC_SLP             6   /* sequential linear programming, multistart passes */
#define QXLOC_INSTRUCT_LOAD   8   /* instruction-list loading */
#define QXLOC_INSTRUCT_PREP   9   /* instruction-list preprocessing */
#define QXLOC_GOP             10  /* global solver */
#define QXLOC_END_REPORT      11  /* LP driver end-of-solve report, infeasibility analysis */
#define QXLOC_PRESOLVE        12  /* presolve (LP and integer) */
#define QXLOC_MSW             13  /* multistart solver */
#define QXLOC_FUNC_EVAL       14  /* instruction-list evaluation */
#define QXLOC_IIS             15  /* irreducible-infeasible-set analysis */
#define QXLOC_STOC_FIRST      16  /* stochastic solvers use 16 to 25 */
#define QXLOC_STOC_LAST       25
#define QXLOC_BNP             26  /* block decomposition (branch and price) */

/* Progress callback: called at intervals of QX_DPARAM_CALLBACKFREQ seconds by
 * every solver; a non-zero return asks the solver to stop, and the optimiser
 * call then returns QXERR_USER_INTERRUPT. */
typedef int (*QXcallbackFunc)(QXmodel model, int location, void *userdata);
/* Integer-solution callback: called at each new incumbent with its objective
 * value and its n variable values. */
typedef int (*QXMIPcallbackFunc)(QXmodel model, void *userdata, double objval, const double *x);
/* New-integer-solution supplier: may write a candidate solution (n values) to
 * x and its objective to *objval and return non-zero; the integer solver checks
 * the candidate before it accepts it. */
typedef int (*QXMIPsolSupplierFunc)(QXmodel model, void *userdata, double *objval, double *x);
/* Objective-bound supplier: receives the current objective and bound and may
 * overwrite both; a non-zero return offers them to the integer solver. */
typedef int (*QXMIPobjSupplierFunc)(QXmodel model, void *userdata, double *objective, double *bound);
/* Global-solver callback: called at each improvement with its objective value
 * and its n variable values. */
typedef int (*QXGOPcallbackFunc)(QXmodel model, void *userdata, double objval, const double *x);
/* Callback of the decomposition solver. */
typedef int (*QXFDEcallbackFunc)(QXmodel model, int location, void *userdata);
/* Function evaluator: *value receives row's function value at x (row -1 is
 * the objective). A non-zero return reports an evaluation error. */
typedef int (*QXfuncalcFunc)(QXmodel model, void *userdata, int row, const double *x, double *value);
/* Gradient evaluator for row at x. With QXsetGradcalc the routine fills the
 * dense gradient grad[0..n-1]; with QXsetGradcalcFullPartial it may instead
 * list *nnz partial derivatives in varidx/grad, or set *nnz to -1 and fill the
 * dense gradient. */
typedef int (*QXgradcalcFunc)(QXmodel model, void *userdata, int row, const double *x,
                              int *nnz, int *varidx, double *grad);
/* Hessian evaluator: the *nnz second derivatives of row at x as (rowidx,
 * colidx, values) triplets of the lower triangle. */
typedef int (*QXhessdccalcFunc)(QXmodel model, void *userdata, int row, const double *x,
                                int *nnz, int *rowidx, int *colidx, double *values);
/* User function of instruction lists: *result receives the value of the
 * user-defined operator at its nargs arguments. */
typedef int (*QXusercalcFunc)(QXmodel model, int nargs, const double *args, void *userdata,
                              double *result);

/* Setters: store the function and its user data on the model; a null function
 * removes the callback. A null model gives QXERR_ILLEGAL_NULL_POINTER. */
QXAPI int QXsetCallback(QXmodel model, QXcallbackFunc cb, void *userdata);
QXAPI int QXsetMIPCallback(QXmodel model, QXMIPcallbackFunc cb, void *userdata);
QXAPI int QXsetMIPCallbackInsMIPSol(QXmodel model, QXMIPsolSupplierFunc cb, void *userdata);
QXAPI int QXsetMIPCallbackInsMIPObj(QXmodel model, QXMIPobjSupplierFunc cb, void *userdata);
QXAPI int QXsetGOPCallback(QXmodel model, QXGOPcallbackFunc cb, void *userdata);
QXAPI int QXsetFDECallback(QXmodel model, QXFDEcallbackFunc cb, void *userdata);
QXAPI int QXsetUsercalc(QXmodel model, QXusercalcFunc cb, void *userdata);
QXAPI int QXsetFuncalc(QXmodel model, QXfuncalcFunc cb, void *userdata);
QXAPI int QXsetHessdccalc(QXmodel model, QXhessdccalcFunc cb, void *userdata);
/* rows lists the count rows (-1 objective, 0..m-1 constraints) whose gradient
 * the host computes; entries outside [-1, m) are ignored. A negative count or a
 * null list makes the host routine serve every row. */
QXAPI int QXsetGradcalc(QXmodel model, QXgradcalcFunc cb, void *userdata, int count,
                        const int *rows);
QXAPI int QXsetGradcalcFullPartial(QXmodel model, QXgradcalcFunc cb, void *userdata, int count,
                                   const int *rows);

/* Information about the solve in progress, for use inside a progress callback
 * (location as received). QXERR_INFO_NOT_AVAILABLE when the location cannot
 * answer the item or no solve is in progress. */
QXAPI int QXgetCallbackInfo(QXmodel model, int location, int item, void *result);
QXAPI int QXgetProgressInfo(QXmodel model, int location, int item, void *result);
/* The same inside an integer-solver callback. */
QXAPI int QXgetMIPCallbackInfo(QXmodel model, int item, void *result);


/* ======================================================================
 * Parameter files
 * ====================================================================== */

/* ======================================================================
 * Loading model data
 * ====================================================================== */

/* ======================================================================
 * Model and solution queries
 * ====================================================================== */

/* ======================================================================
 * Model modification
 * ====================================================================== */

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
