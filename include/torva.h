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
/* A random number generator belongs to the environment it was created in and
 * is released by QXdisposeRG. Deleting the environment first frees the
 * distribution attached to the generator (the generator can then only be
 * disposed). */
typedef struct QXrgRec *QXrg;

/* Generator kinds (QXcreateRG, QXcreateRGMT). */
#define QX_RANDGEN_FREE          (-1) /* same as QX_RANDGEN_MERSENNE */
#define QX_RANDGEN_SYSTEM        0    /* 15-bit LCG, state per thread, [0,1] */
#define QX_RANDGEN_MRG32K3A      1    /* L'Ecuyer MRG32k3a, (0,1] */
#define QX_RANDGEN_LCG31         2    /* 742938285 x mod 2^31-1, [0,1) */
#define QX_RANDGEN_SHUFFLE       3    /* combined LCGs + Bays-Durham shuffle */
#define QX_RANDGEN_SUBTRACTIVE   4    /* Knuth subtractive mod 10^9, [0,1) */
#define QX_RANDGEN_LAGFIB        5    /* lagged Fibonacci (24,55) on doubles */
#define QX_RANDGEN_MERSENNE      6    /* MT19937, [0,1) */

/* Distribution types (QXsetDistrRG, QXsampCreate). Parameters are given by
 * index 0..4 (QXsetDistrParamRG, QXsampSetDistrParam); every parameter listed
 * must be set before evaluation (else QXERR_STOC_DISTR_PARAM_NOT_SET) and obey
 * its rule (else QXERR_STOC_BAD_DISTR_PARAMS). Discrete types take integer
 * values k; their density is the probability of k (0 off the support). */
#define QX_DIST_BINOMIAL           701 /* 0: trials n (integer >= 0), 1: success probability p in [0,1]; k = 0..n */
#define QX_DIST_DISCRETE           702 /* a loaded table (QXsampLoadDiscretePdfTable); k = table index 0..len-1 */
#define QX_DIST_DISCRETE_ALT       703 /* the same table distribution under a second code */
#define QX_DIST_NEGATIVE_BINOMIAL  704 /* 0: successes r > 0, 1: success probability p in (0,1]; k = failures before the r-th success */
#define QX_DIST_GEOMETRIC          705 /* 0: success probability p in (0,1]; k = failures before the first success */
#define QX_DIST_POISSON            706 /* 0: mean lambda > 0 */
#define QX_DIST_LOGARITHMIC        707 /* 0: p in (0,1); P(k) = -p^k / (k ln(1-p)), k >= 1 */
#define QX_DIST_HYPER_GEOMETRIC    708 /* 0: population N (integer >= 1), 1: successes K in 0..N, 2: draws n in 0..N (integers) */
#define QX_DIST_BETA               801 /* 0: shape a > 0, 1: shape b > 0; support [0,1] */
#define QX_DIST_CAUCHY             802 /* 0: location, 1: scale > 0 */
#define QX_DIST_CHI_SQUARE         803 /* 0: degrees of freedom > 0 */
#define QX_DIST_EXPONENTIAL        804 /* 0: mean (scale) > 0 */
#define QX_DIST_F_DISTRIBUTION     805 /* 0: numerator degrees of freedom > 0, 1: denominator degrees of freedom > 0 */
#define QX_DIST_GAMMA              806 /* 0: shape > 0, 1: scale > 0 */
#define QX_DIST_GUMBEL             807 /* 0: location, 1: scale > 0 (largest extreme value) */
#define QX_DIST_LAPLACE            808 /* 0: location, 1: scale > 0 */
#define QX_DIST_LOGNORMAL          809 /* 0: mean of the logarithm, 1: standard deviation of the logarithm > 0 */
#define QX_DIST_LOGISTIC           810 /* 0: location, 1: scale > 0 */
#define QX_DIST_NORMAL             811 /* 0: mean, 1: standard deviation > 0 */
#define QX_DIST_PARETO             812 /* 0: scale (minimum) > 0, 1: shape > 0 */
#define QX_DIST_STABLE_PARETIAN    813 /* 0: index alpha in (0,2], 1: skewness beta in [-1,1], 2: location, 3: scale > 0;
                                          characteristic function exp(i t loc - |scale t|^alpha (1 - i beta sgn(t) w)),
                                          w = tan(pi alpha/2) for alpha != 1, -(2/pi) ln|t| for alpha = 1 */
#define QX_DIST_STUDENTS_T         814 /* 0: degrees of freedom > 0 */
#define QX_DIST_TRIANGULAR         815 /* 0: lower a, 1: mode c, 2: upper b; a <= c <= b, a < b */
#define QX_DIST_UNIFORM            816 /* 0: lower, 1: upper >= lower */
#define QX_DIST_WEIBULL            817 /* 0: shape > 0, 1: scale > 0 */
#define QX_DIST_WILCOXON           818 /* 0: n (integer >= 1); signed-rank statistic, k = 0..n(n+1)/2 */
#define QX_DIST_BETA_BINOMIAL      819 /* 0: trials n (integer >= 0), 1: shape a > 0, 2: shape b > 0 */
#define QX_DIST_SYM_STABLE         820 /* 0: index alpha in (0,2], 1: location, 2: scale > 0; the stable law with beta = 0 */

/* Distribution function codes (QXsampEvalDistr, QXsampEvalUserDistr). */
#define QX_DISTR_FUNC_PDF    1   /* density, or probability of a discrete value */
#define QX_DISTR_FUNC_CDF    2   /* cumulative distribution */
#define QX_DISTR_FUNC_ICDF   3   /* inverse cumulative distribution at a probability */

QXAPI QXrg QXcreateRG(QXenv env, int kind);
/* Reads QX_IPARAM_SAMP_NUM_THREADS and QX_IPARAM_SAMP_RG_BUFFER_SIZE of env;
 * with two or more threads only QX_RANDGEN_MERSENNE is accepted and the
 * generator hands out numbers from a buffer refilled in parallel. */
QXAPI QXrg QXcreateRGMT(QXenv env, int kind);
/* Seed 0 takes the calendar time in seconds. A null rg is ignored. */
QXAPI void QXsetRGSeed(QXrg rg, unsigned int seed);
QXAPI unsigned int QXgetInitSeed(QXrg rg);
/* The two draws do not check their handle: rg must be a live generator. */
QXAPI double QXgetDoubleRV(QXrg rg);
/* lo >= hi gives lo without drawing; otherwise an integer in [lo, hi]. */
QXAPI int QXgetInt32RV(QXrg rg, int lo, int hi);
QXAPI int QXsetDistrRG(QXrg rg, int distrType);
QXAPI int QXsetDistrParamRG(QXrg rg, int index, double value);
QXAPI int QXgetDistrRV(QXrg rg, double *value);
/* Buffered generators only (else QXERR_NOT_SUPPORTED). */
QXAPI int QXfillRGBuffer(QXrg rg);
/* The buffer of a buffered generator (null and size 0 for the others). */
QXAPI double *QXgetRGBufferPtr(QXrg rg, int *size);
QXAPI int QXgetRGNumThreads(QXrg rg, int *numThreads);
QXAPI void QXdisposeRG(QXrg *rg);

/* ======================================================================
 * Sampling
 * ====================================================================== */
/* A sample belongs to its environment; QXdeleteEnv deletes the samples that
 * are left. */
typedef struct QXsampleRec *QXsample;

/* Sampling methods (QXsampGenerate). */
#define QX_MONTECARLO              0
#define QX_LATINSQUARE             1
#define QX_ANTITHETIC              2
#define QX_LATINSQUARE_ANTITHETIC  3

/* Correlation types. */
#define QX_CORR_PEARSON   0
#define QX_CORR_KENDALL   1
#define QX_CORR_SPEARMAN  2

/* Which points QXsampGetCorrelationMatrix reads. */
#define QX_SAMP_POINTS     0   /* the points as generated or loaded */
#define QX_SAMP_CI_POINTS  1   /* the correlation-induced points */

/* Information items of QXsampGetInfo; value points at an int (IINFO) or a
 * double (DINFO). */
#define QX_IINFO_SAMP_SIZE        7750 /* number of points */
#define QX_IINFO_SAMP_METHOD      7751 /* method that made them, -1 when loaded */
#define QX_IINFO_SAMP_DISTR_TYPE  7752 /* distribution type */
#define QX_IINFO_SAMP_NPARAMS     7753 /* leading parameters set */
#define QX_IINFO_SAMP_CI_SIZE     7754 /* number of correlation-induced points (0 before induction) */
#define QX_IINFO_SAMP_NUSER_ARGS  7755 /* argument samples of a user-defined distribution */
#define QX_DINFO_SAMP_MEAN        7760 /* mean of the points */
#define QX_DINFO_SAMP_STD         7761 /* standard deviation of the points (divisor n - 1) */
#define QX_DINFO_SAMP_MAXABS      7762 /* largest absolute value met during generation */

/* Host function of a user-defined distribution. Generation calls it once per
 * point with funcCode QX_DISTR_FUNC_ICDF and the points of the argument
 * samples at that position (args[0..nargs-1], in the order they were added);
 * QXsampEvalUserDistr passes its own arguments through. The function writes
 * *result and returns 0, or an error code that stops the caller. */
typedef int (*QXuserDistrFunc)(QXsample sample, int funcCode, const double *args,
                               int nargs, double *result, void *userdata);

QXAPI QXsample QXsampCreate(QXenv env, int distrType, int *errorcode);
QXAPI int QXsampDelete(QXsample *sample);
QXAPI int QXsampSetRG(QXsample sample, QXrg rg);
QXAPI int QXsampSetDistrParam(QXsample sample, int index, double value);
QXAPI int QXsampGetDistrParam(QXsample sample, int index, double *value);
QXAPI int QXsampEvalDistr(QXsample sample, int funcCode, double x, double *value);
QXAPI int QXsampGenerate(QXsample sample, int method, int n);
QXAPI int QXsampLoadPoints(QXsample sample, int n, const double *points);
/* points must hold the count (query it with points null). */
QXAPI int QXsampGetPoints(QXsample sample, int *n, double *points);
QXAPI int QXsampGetPointsPtr(QXsample sample, int *n, double **points);
QXAPI int QXsampGetCIPoints(QXsample sample, int *n, double *points);
QXAPI int QXsampGetCIPointsPtr(QXsample sample, int *n, double **points);
/* len < 1 means 5000 entries; values may be null (the values are then the
 * indices 0..len-1). */
QXAPI int QXsampLoadDiscretePdfTable(QXsample sample, int len, const double *prob,
                                     const double *values);
QXAPI int QXsampGetDiscretePdfTable(QXsample sample, int *len, double *prob, double *values);
QXAPI int QXsampSetUserDistr(QXsample sample, QXuserDistrFunc func, void *userdata);
QXAPI int QXsampAddUserFuncArg(QXsample sample, QXsample argSample);
QXAPI int QXsampEvalUserDistr(QXsample sample, int funcCode, const double *args, int nargs,
                              double *result);
/* Rearranges the points of samples[0..count-1] (all of one size) into the
 * correlation-induced points so that their pairwise correlations of corrType
 * approach the targets: pair k asks for correlation values[k] between
 * samples pairI[k] and pairJ[k]; pairs not listed ask for 0. */
QXAPI int QXsampInduceCorrelation(QXsample *samples, int count, int corrType, int npairs,
                                  const int *pairI, const int *pairJ, const double *values);
/* Writes the count*(count-1)/2 pairs i < j in row order: *npairs, pairI,
 * pairJ and values (each may be null). kind is QX_SAMP_POINTS or
 * QX_SAMP_CI_POINTS. */
QXAPI int QXsampGetCorrelationMatrix(QXsample *samples, int count, int kind, int corrType,
                                     int *npairs, int *pairI, int *pairJ, double *values);
QXAPI int QXsampGetInfo(QXsample sample, int item, void *value);

#ifdef __cplusplus
}
#endif

#endif /* TORVA_H */
