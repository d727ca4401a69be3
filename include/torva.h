/*
 * torva.h -- the public interface of the TORVA API optimisation library.
 *
 * Plain C (C99 and later), usable from C++. Every function returns an error
 * code (0 on success, QXERR_* otherwise) unless its declaration says
 * otherwise; the constructors return a handle and write the code through an
 * out-parameter. Arrays passed in are copied and never kept; output arrays
 * belong to the caller, and any output pointer may be null to skip it.
 *
 * Threads: calls on different models may run at the same time from different
 * threads, also on a model and a copy of it made by QXcopyModel (a copy shares
 * no data, cache or callback state with its source). Calls on one model must
 * not overlap. Creating, copying and deleting models of one environment may
 * run concurrently (the environment's model list is locked). Environment
 * parameters must not be changed while models of the environment are being
 * created or copied. Draws and seeding of the single-stream random
 * generators (kinds 1 to 6) pass one process-wide critical section, so a
 * generator may be shared between threads; kind QX_RANDGEN_SYSTEM keeps one
 * state per thread.
 *
 * Errors: a function given a null handle returns QXERR_ILLEGAL_NULL_POINTER
 * (2010) unless its comment says otherwise, and any function that returns a
 * code may return QXERR_OUT_OF_MEMORY (2001) or QXERR_INTERNAL_ERROR (2015).
 * The comments below name the other codes a function returns, by number;
 * QXgetErrorMessage gives their texts.
 *
 * Layout of this header: handles and shared constants; all error codes; the
 * functions by family (environments and models, error messages, version and
 * information, parameters, parameter files, callbacks and logging, loading,
 * queries, modification, model files, optimisation, solutions, integer
 * solutions, instruction lists, random number generators, sampling), each
 * with the small constant groups it uses; at the end the tables of parameter
 * and information-item identifiers and their older spellings.
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
 * Handles and shared types
 * ====================================================================== */
/* An environment holds the parameter values new models start from, its
 * models and its samples; a model holds one optimisation problem with its
 * own parameters, callbacks and solutions. */
typedef struct QXenvRec *QXenv;
typedef struct QXmodelRec *QXmodel;

/* A random number generator belongs to the environment it was created in and
 * is released by QXdisposeRG. Deleting the environment first frees the
 * distribution attached to the generator (the generator can then only be
 * disposed). */
typedef struct QXrgRec *QXrg;

/* A sample belongs to its environment; QXdeleteEnv deletes the samples that
 * are left. */
typedef struct QXsampleRec *QXsample;

/* Log function of an environment and of a model: one call per formatted line. */
typedef void (*QXenvLogfunc)(QXenv env, const char *text, void *userdata);
typedef void (*QXmodelLogfunc)(QXmodel model, const char *text, void *userdata);
/* Exit function an installed external solver calls when it must terminate. */
typedef void (*QXexitFunc)(void *userdata);

/* Bounds at or beyond QX_INFINITY are infinite; objective senses. */
#define QX_INFINITY          1.0E+30
#define QX_MIN               1
#define QX_MAX               (-1)

/* ======================================================================
 * Error codes (texts through QXgetErrorMessage)
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
/* Variable type character rejected by QXloadVarType (a code without text). */
#define QXERR_BAD_VARIABLE_TYPE                  2041
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
 * Environments and models
 * ====================================================================== */
/* Copy modes (QX_IPARAM_COPY_MODE of the source of QXcopyModel, a bitmask). */
#define QX_RAW_COPY     0
#define QX_DEEP_COPY    1
#define QX_TIME_COPY    2
#define QX_STOC_COPY    4
#define QX_SNGSTG_COPY  8

/* Creates an environment with the default parameter values; null on
 * failure. *errorcode (errorcode may be null) receives 0 or the error. */
QXAPI QXenv QXcreateEnv(int *errorcode);
/* Deletes the environment with its models and samples and sets *env to
 * null. Errors: 2010 null env or *env, 2015 a model not found in its list. */
QXAPI int QXdeleteEnv(QXenv *env);
/* Creates an empty model (status QX_STATUS_UNLOADED) holding a copy of the
 * environment's parameter values; null on failure. errorcode must not be
 * null; *errorcode receives 0, 2010 (null env) or 2001. */
QXAPI QXmodel QXcreateModel(QXenv env, int *errorcode);
/* Deletes the model and sets *model to null. A null model or a null *model
 * is accepted and returns 0. Errors: 2015 the model is not in its
 * environment's list (it is then not freed). */
QXAPI int QXdeleteModel(QXmodel *model);
/* A new model of the source's environment with the source's parameters and
 * data (not its solutions); null on failure. errorcode must not be null;
 * *errorcode receives 0, 2010 (null source or source without environment)
 * or the error of the copy. */
QXAPI QXmodel QXcopyModel(QXmodel source, int *errorcode);
/* *env receives the model's environment; env may be null. Errors: 2009
 * null model. */
QXAPI int QXgetModelEnv(QXmodel model, QXenv *env);
/* Number of models of the environment. Errors: 2009 null env, 2010 null
 * count. */
QXAPI int QXgetEnvModelCount(QXenv env, int *count);
/* models must hold as many handles as QXgetEnvModelCount reports; creation
 * order. Errors as QXgetEnvModelCount (2010 null models). */
QXAPI int QXgetEnvModelList(QXenv env, QXmodel *models);
/* Install the log function (and its user data) of an environment or a
 * model; a null function removes it. The solvers write their log lines
 * through the model's function. Errors: 2010 null handle only. */
QXAPI int QXsetEnvLogfunc(QXenv env, QXenvLogfunc logfunc, void *userdata);
QXAPI int QXsetModelLogfunc(QXmodel model, QXmodelLogfunc logfunc, void *userdata);
/* Stores the exit function of an installed external solver and its user
 * data; exitfunc may be null. Errors: 2010 null env only. */
QXAPI int QXsetEnvExitFunc(QXenv env, QXexitFunc exitfunc, void *userdata);
/* Release parts of a model: solver work areas (the resident factorisation
 * included), the continuous, integer and global solution records, the
 * nonlinear solver's memory and the name hash tables (rebuilt at the next
 * lookup). They return nothing; a null model is ignored. */
QXAPI void QXfreeSolverMemory(QXmodel model);
QXAPI void QXfreeSolutionMemory(QXmodel model);
QXAPI void QXfreeMIPSolutionMemory(QXmodel model);
QXAPI void QXfreeGOPSolutionMemory(QXmodel model);
QXAPI void QXfreeNLPSolverMemory(QXmodel model);
QXAPI void QXfreeHashMemory(QXmodel model);
/* Drops the model's names (title, objective, right-hand side, range and
 * bound set names, row, column and cone names). Errors: 2010 null model
 * only. */
QXAPI int QXfreeNameData(QXmodel model);

/* ======================================================================
 * Error messages
 * ====================================================================== */
/* Text of an error code. message must hold at least 140 bytes; env may be
 * null (a temporary table answers). A code without a text gives an empty
 * message and 0. Errors: 2010 null message; 2051 for code 0 (message "No
 * errors.") and for codes outside 1..2597 (message "Unknown error."). */
QXAPI int QXgetErrorMessage(QXenv env, int errorcode, char *message);
/* Line number and text of the last failed file read of the model (0 and an
 * empty text when there is none or model is null); either output may be
 * null. Always returns 0. */
QXAPI int QXgetFileError(QXmodel model, int *linenum, char *linetxt);
/* Row of the last instruction-list error (-1 the objective), else the row
 * where the last solve met numerical trouble (primal status 11). Errors:
 * 2010 null model or row, 2009 neither exists. */
QXAPI int QXgetErrorRowIndex(QXmodel model, int *row);

/* ======================================================================
 * Version and library information
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

/* version receives "major.minor.build.revision" (revision in three digits),
 * builddate the date and time the library was built; either may be null.
 * Always returns 0. */
QXAPI int QXgetVersionInfo(char *version, char *builddate);
/* Value of an information item (the QX_?INFO_ table at the end of this
 * header). result points at an int, a double or a character buffer
 * according to item; a null result skips the output. With a null model only
 * the library items (versions, platform) answer, others give 2010. Errors:
 * 2009 the item is unknown or not available for the model's state. */
QXAPI int QXgetInfo(QXmodel model, int item, void *result);

/* ======================================================================
 * Parameters
 * ====================================================================== */
/* Identifiers, ranges and defaults: the QX_?PARAM_ table at the end of this
 * header and QXgetParamLongDesc. */

/* Values on a model. Unknown identifier: 2074; out of range: 2024; read only,
 * wrong type or wrong level: 2011; a parameter the library does not support
 * setting: 2029; QX_IPARAM_OBJSENSE other than QX_MIN or QX_MAX: 2007 (a
 * change of sense drops any solution). Reading a parameter the level does
 * not hold: 2009. A null value pointer gives 2010. */
QXAPI int QXsetModelIntParameter(QXmodel model, int id, int value);
QXAPI int QXsetModelDouParameter(QXmodel model, int id, double value);
QXAPI int QXgetModelIntParameter(QXmodel model, int id, int *value);
QXAPI int QXgetModelDouParameter(QXmodel model, int id, double *value);
/* value points at an int, a double or (QX_SPARAM_) a character string
 * according to the parameter's type; string reads need 256 bytes. Errors as
 * QXsetModelIntParameter; 2024 for a string over the length limit. */
QXAPI int QXsetModelParameter(QXmodel model, int id, void *value);
QXAPI int QXgetModelParameter(QXmodel model, int id, void *value);

/* Values on an environment: the values models created afterwards start from.
 * Errors as the model functions above. */
QXAPI int QXsetEnvIntParameter(QXenv env, int id, int value);
QXAPI int QXsetEnvDouParameter(QXenv env, int id, double value);
QXAPI int QXgetEnvIntParameter(QXenv env, int id, int *value);
QXAPI int QXgetEnvDouParameter(QXenv env, int id, double *value);
QXAPI int QXsetEnvParameter(QXenv env, int id, void *value);
QXAPI int QXgetEnvParameter(QXenv env, int id, void *value);

/* Reported range of a parameter; either out-pointer may be null (both are
 * set to 0 first). Errors: 2074 unknown identifier, 2011 a parameter of the
 * other type. */
QXAPI int QXgetIntParameterRange(QXmodel model, int id, int *min, int *max);
QXAPI int QXgetDouParameterRange(QXmodel model, int id, double *min, double *max);

/* Copies parameter values from source to target. mode below 1 copies the
 * fixed parameter values, 12 the genetic-algorithm group; other modes do
 * nothing. QXcopyGAParam copies the genetic-algorithm group. Errors: 2010
 * null source or target only. */
QXAPI int QXcopyParam(QXmodel source, QXmodel target, int mode);
QXAPI int QXcopyGAParam(QXmodel source, QXmodel target);

/* Documentation and names. Texts are copied into the caller's buffer (empty
 * when the identifier has no row); a long description needs at most 1024
 * bytes, a macro name or short description 256. Errors: 2010 null env or
 * buffer only. The Ptr variants return the library's static text (which the
 * caller must not change) or null (also for a null env). */
QXAPI int QXgetParamCount(QXenv env, int which); /* 0: short table, else long; 0 for a null env */
QXAPI int QXgetParamMacroName(QXenv env, int id, char *name);
QXAPI int QXgetParamShortDesc(QXenv env, int id, char *text);
QXAPI int QXgetParamLongDesc(QXenv env, int id, char *text);
QXAPI char *QXgetParamMacroNamePtr(QXenv env, int id);
QXAPI char *QXgetParamShortDescPtr(QXenv env, int id);
QXAPI char *QXgetParamLongDescPtr(QXenv env, int id);
/* Identifier and value size (4 int, 8 double or string) of a parameter or
 * information item name; older spellings resolve to their newer names.
 * Errors: 2010 any null argument, 2074 unknown name. */
QXAPI int QXgetParamMacroID(QXenv env, const char *name, int *type, int *id);
/* Walks the long table from row *index for a macro name containing keyword
 * (or, for a positive integer keyword, that identifier). *id receives the
 * identifier found or -1, *index the row where the walk stopped. Errors:
 * 2010 any null argument, 2012 an integer keyword with *index past the
 * table. */
QXAPI int QXsearchParamHasKeyword(QXenv env, const char *keyword, int *index, int *id);

/* ======================================================================
 * Parameter files
 * ====================================================================== */
/* One row of a parameter table as QXloadModelParameter and QXloadEnvParameter
 * read it: identifier, macro name, short description (empty or null for
 * none) and value size (4 for int, 8 for double parameters). */
typedef struct QXparamTableRow {
  int id;
  const char *name;
  const char *desc;
  int size;
} QXparamTableRow;

/* Write every parameter with its description and current value to file; a
 * value line stays commented ("!") when it equals the default (doubles: when
 * they differ by at most 2.220446049250313e-16). A file argument
 * that reads as a number instead logs the model's parameters to a two-line
 * CSV file named after it (extension ".param.csv"), once. Errors: 2010 null
 * model, file or model without environment; 2002 the file cannot be
 * created. */
QXAPI int QXwriteModelParameter(QXmodel model, const char *file);
/* The same from the environment's values, every value line commented.
 * Errors: 2010 null env or file, 2002. */
QXAPI int QXwriteEnvParameter(QXenv env, const char *file);
/* Read the settings of a parameter file: lines "NAME = value", the first
 * matching line of each parameter wins; "!" starts a comment. A value the
 * level refuses is logged as a warning and skipped. Errors: 2010 null
 * handle or file, 2002 the file cannot be opened. */
QXAPI int QXreadModelParameter(QXmodel model, const char *file);
QXAPI int QXreadEnvParameter(QXenv env, const char *file);
/* The same for the count rows of table only (table may be null when count
 * is 0). Errors as QXreadModelParameter; 2012 a row whose size is not 4
 * or 8. */
QXAPI int QXloadModelParameter(QXmodel model, const char *file, int count,
                               const QXparamTableRow *table);
QXAPI int QXloadEnvParameter(QXenv env, const char *file, int count,
                             const QXparamTableRow *table);
/* Write the table of all parameters in AsciiDoc format. Errors: 2010 null
 * env or file, 2002. */
QXAPI int QXwriteParameterAsciiDoc(QXenv env, const char *file);

/* ======================================================================
 * Callbacks and logging
 * ====================================================================== */
/* Log functions: QXsetEnvLogfunc and QXsetModelLogfunc above. */

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
 * removes the callback. Errors: 2010 null model only. Progress, integer
 * solution, integer-solution supplier, objective-bound supplier, global
 * solver, decomposition solver, user operator, function and Hessian
 * evaluators, in that order. */
QXAPI int QXsetCallback(QXmodel model, QXcallbackFunc cb, void *userdata);
QXAPI int QXsetMIPCallback(QXmodel model, QXMIPcallbackFunc cb, void *userdata);
QXAPI int QXsetMIPCallbackInsMIPSol(QXmodel model, QXMIPsolSupplierFunc cb, void *userdata);
QXAPI int QXsetMIPCallbackInsMIPObj(QXmodel model, QXMIPobjSupplierFunc cb, void *userdata);
QXAPI int QXsetGOPCallback(QXmodel model, QXGOPcallbackFunc cb, void *userdata);
QXAPI int QXsetFDECallback(QXmodel model, QXFDEcallbackFunc cb, void *userdata);
QXAPI int QXsetUsercalc(QXmodel model, QXusercalcFunc cb, void *userdata);
QXAPI int QXsetFuncalc(QXmodel model, QXfuncalcFunc cb, void *userdata);
QXAPI int QXsetHessdccalc(QXmodel model, QXhessdccalcFunc cb, void *userdata);
/* Gradient evaluator. rows lists the count rows (-1 objective, 0..m-1
 * constraints) whose gradient the host computes; entries outside [-1, m) are
 * ignored. A negative count or a null list makes the host routine serve
 * every row. Errors: 2010 null model only. */
QXAPI int QXsetGradcalc(QXmodel model, QXgradcalcFunc cb, void *userdata, int count,
                        const int *rows);
/* The same with the sparse form of the evaluator (see QXgradcalcFunc). */
QXAPI int QXsetGradcalcFullPartial(QXmodel model, QXgradcalcFunc cb, void *userdata, int count,
                                   const int *rows);

/* Information about the solve in progress, for use inside a progress callback
 * (location as received; item from the information-item table). Errors: 2010
 * null model or result, 2009 when the location cannot answer the item or no
 * solve is in progress. QXgetProgressInfo is the same call. */
QXAPI int QXgetCallbackInfo(QXmodel model, int location, int item, void *result);
QXAPI int QXgetProgressInfo(QXmodel model, int location, int item, void *result);
/* The same inside an integer-solver callback. Errors as QXgetCallbackInfo. */
QXAPI int QXgetMIPCallbackInfo(QXmodel model, int item, void *result);

/* ======================================================================
 * Loading model data
 * ====================================================================== */
/* The linear core, semi-continuous, quadratic, cone and set data are loaded
 * once each (2030 when the model already holds that data); later changes go
 * through the modification functions. Types, names, priorities, start
 * points and the starting basis may be loaded again at any time. */

/* Linear core: nCons rows, nVars columns, the matrix column-major (paiAcols
 * has nVars+1 starts, panAcols optional lengths). Duplicate rows within a
 * column are added together; bounds are clamped into [-1e30, 1e30]; a null
 * padL gives lower bounds 0, a null padU upper bounds QX_INFINITY.
 * dObjSense is QX_MIN or QX_MAX. padC, padB, pszConTypes, padAcoef and
 * paiArows may be null only when their count is 0. A failure leaves the
 * model unloaded. Errors: 2030 the model holds rows or columns, 2010 a
 * required array null, 2047 negative or inconsistent sizes, 2053 nAnnz
 * not matching the columns, 2007 bad sense, 2004 constraint type not L, E,
 * G, N, 2048 bad column starts, 2050 bad column lengths, 2012 row index out
 * of range. */
QXAPI int QXloadLPData(QXmodel pModel, int nCons, int nVars, int dObjSense, double dObjConst,
                       const double *padC, const double *padB, const char *pszConTypes,
                       int nAnnz, const int *paiAcols, const int *panAcols,
                       const double *padAcoef, const int *paiArows, const double *padL,
                       const double *padU);
/* One of 'C', 'B', 'I', 'S' per variable; null removes all types. 'B' clamps
 * the bounds into [0, 1]; 'S' makes the variable semi-continuous with its
 * current bounds. Errors: 2041 another character, 2047 'B' for a variable
 * whose bounds exclude [0, 1]. */
QXAPI int QXloadVarType(QXmodel pModel, const char *pszVarTypes);
/* nSC semi-continuous variables with their lower and upper bounds (the
 * variable's lower bound becomes 0). Errors: 2030 semi-continuous data
 * already loaded, 2010 a null array, 2047 negative count, 2049 index out of
 * range, 2032 repeated variable. */
QXAPI int QXloadSemiContData(QXmodel pModel, int nSC, const int *paiVars, const double *padL,
                             const double *padU);
/* Any argument may be null, leaving that kind of name unchanged. connames
 * holds one name per constraint, varnames one per variable, conenames one
 * per cone. Errors: 2010 null model only. */
QXAPI int QXloadNameData(QXmodel model, const char *title, const char *objname,
                         const char *rhsname, const char *rngname, const char *bndname,
                         char **connames, char **varnames, char **conenames);
/* Quadratic triplets; row -1 is the objective. Errors: 2010 a null array,
 * 2030 quadratic or cone data already loaded, 2047 negative count, 2052 row
 * out of range, 2049 column out of range. */
QXAPI int QXloadQCData(QXmodel pModel, int QCnonzeros, const int *QCrowndx, const int *QCcolndx1,
                       const int *QCcolndx2, const double *QCcoef);
/* Cone types 'Q' (quadratic) or 'R' (rotated quadratic); members of cone k
 * are paiConecols[paiConebegcone[k] .. paiConebegcone[k+1]-1]. Errors: 2030
 * quadratic or cone data already loaded, 2010 a null array, 2047 negative
 * count, 2004 another type, 2050 bad starts or too few members ('Q' 1,
 * 'R' 2), 2049 member out of range or in two cones. */
QXAPI int QXloadConeData(QXmodel pModel, int nCone, const char *pszConeTypes,
                         const int *paiConebegcone, const int *paiConecols);
/* Set types 1, 2, 3 or 4 (cardinality set, with paiCARDnum); the digits
 * '1' to '4' are accepted too and stored as 1 to 4. paiCARDnum may be null
 * without type 4 sets. Errors: 2030 sets already loaded, 2010 a null array,
 * 2047 negative count or cardinality, 2004 another type, 2050 bad starts or
 * too few members, 2049 member out of range or repeated in a set. */
QXAPI int QXloadSETSData(QXmodel pModel, int nSETS, const char *pszSETStype,
                         const int *paiCARDnum, const int *paiSETSbegcol,
                         const int *paiSETScols);
/* Branching priorities, one per variable; null removes them. Errors: 2012
 * a negative priority (skipped; the others are stored). */
QXAPI int QXloadVarPriorities(QXmodel model, const int *priority);
/* Lines "name priority"; names are looked up as by QXgetVariableIndex.
 * Errors: 2010 null file, 2002 cannot open, 2009 model without variable
 * names, 2068 unknown name. */
QXAPI int QXreadVarPriorities(QXmodel model, const char *file);
/* Start points of the continuous and the integer solvers: n values, or
 * count (variable, value) pairs for the partial forms. Errors: 2010 null x
 * (vars and x of the partial forms when count > 0), 2047 negative count,
 * 2012 variable out of range. */
QXAPI int QXloadVarStartPoint(QXmodel model, const double *x);
QXAPI int QXloadMIPVarStartPoint(QXmodel model, const double *x);
QXAPI int QXloadVarStartPointPartial(QXmodel model, int count, const int *vars, const double *x);
QXAPI int QXloadMIPVarStartPointPartial(QXmodel model, int count, const int *vars, const int *x);
/* The start points back; every output may be null. Errors: 2009 model
 * unloaded or (full forms) no start point loaded. */
QXAPI int QXgetVarStartPoint(QXmodel model, double *x);
QXAPI int QXgetMIPVarStartPoint(QXmodel model, double *x);
QXAPI int QXgetVarStartPointPartial(QXmodel model, int *count, int *vars, double *x);
QXAPI int QXgetMIPVarStartPointPartial(QXmodel model, int *count, int *vars, int *x);
/* Starting basis of the simplex: one status per column and per row (basic
 * 0 or more, -1 at lower, -2 at upper, -3 free at zero, -4 superbasic; the
 * QX_BASTYPE_ codes). A null array discards the basis. Errors: 2043 bad
 * column status, 2045 bad row status, 2044 not m basic entries, 2042 a
 * nonbasic column at a bound it does not have. */
QXAPI int QXloadBasis(QXmodel model, const int *colstatus, const int *rowstatus);

/* ======================================================================
 * Model queries
 * ====================================================================== */
/* Queries of a model that holds no data (names loaded ahead of the data
 * included) answer QXERR_INFO_NOT_AVAILABLE (2009) before they look at
 * indices; per-index queries give 2012 for an index out of range. Counts and
 * statistics: QXgetInfo. */

/* The linear core in the arrays of QXloadLPData; the matrix comes back
 * compacted (paiAcols has n+1 entries, no spare space); pszConTypes receives
 * m characters without a terminator. Errors: 2009. */
QXAPI int QXgetLPData(QXmodel pModel, int *pnObjSense, double *pdObjConst, double *padC,
                      double *padB, char *pszConTypes, int *paiAcols, int *panAcols,
                      double *padAcoef, int *paiArows, double *padL, double *padU);
/* Column j: type, cost, bounds and its entries (rows, values). Errors:
 * 2009, 2012. */
QXAPI int QXgetLPVariableDataj(QXmodel model, int j, char *vartype, double *cost, double *lower,
                               double *upper, int *nnz, int *rows, double *values);
/* Row i: type, right-hand side and its entries (cols, values). Errors as
 * QXgetLPVariableDataj. */
QXAPI int QXgetLPConstraintDatai(QXmodel model, int i, char *contype, double *rhs, int *nnz,
                                 int *cols, double *values);
/* Bounds of column j. Errors as QXgetLPVariableDataj. */
QXAPI int QXgetLowerBoundj(QXmodel model, int j, double *lower);
QXAPI int QXgetUpperBoundj(QXmodel model, int j, double *upper);
/* Type, nonlinear flag and right-hand side of row i. Errors as
 * QXgetLPVariableDataj. */
QXAPI int QXgetConstraintDatai(QXmodel model, int i, char *contype, char *isnlp, double *rhs);
/* n characters; 'C' for every variable when no types are loaded. Errors:
 * 2009. */
QXAPI int QXgetVarType(QXmodel model, char *vartype);
/* Semi-continuous variables: count, indices and their bounds. Errors: 2009. */
QXAPI int QXgetSemiContData(QXmodel model, int *count, int *vars, double *lower, double *upper);
/* Sets: count, total members, types (1..4), cardinality numbers, count+1
 * starts and the members. Errors: 2009. */
QXAPI int QXgetSETSData(QXmodel model, int *nSETS, int *nTotal, char *pszSETStype,
                        int *paiCARDnum, int *paiSETSbegcol, int *paiSETScols);
/* Set k. Errors: 2009, 2012. */
QXAPI int QXgetSETSDatai(QXmodel model, int k, char *type, int *cardnum, int *nnz, int *cols);
/* Quadratic triplets grouped by row (objective -1 first). Errors: 2009. */
QXAPI int QXgetQCData(QXmodel model, int *QCnonzeros, int *QCrowndx, int *QCcolndx1,
                      int *QCcolndx2, double *QCcoef);
/* Terms of one row, -1 for the objective. Errors: 2009, 2012. */
QXAPI int QXgetQCDatai(QXmodel model, int row, int *nnz, int *QCcolndx1, int *QCcolndx2,
                       double *QCcoef);
/* Cones: count, types, count+1 starts and members. Errors: 2009. */
QXAPI int QXgetConeData(QXmodel model, int *nCone, char *pszConeTypes, int *paiConebegcone,
                        int *paiConecols);
/* Cone k. Errors: 2009, 2012. */
QXAPI int QXgetConeDatai(QXmodel model, int k, char *type, int *nnz, int *cols);
/* Each non-null list receives one name per item, copied into the buffer its
 * entry points at. Errors: 2009. */
QXAPI int QXgetNameData(QXmodel model, char *title, char *objname, char *rhsname, char *rngname,
                        char *bndname, char **connames, char **varnames, char **conenames);
/* One name, copied into name (which may be null). Errors: 2009 (also when
 * no names of the kind are loaded; for QXgetVariableNamej also a null
 * model), 2012. */
QXAPI int QXgetVariableNamej(QXmodel model, int j, char *name);
QXAPI int QXgetConstraintNamei(QXmodel model, int i, char *name);
QXAPI int QXgetConeNamei(QXmodel model, int k, char *name);
/* Exact, case-sensitive lookups; *index is -1 when the name is not found
 * (2068 for variables, 2069 for constraints, 2070 for cones). Errors also
 * 2009 without names of the kind (QXgetVariableIndex also for a null model),
 * 2010 null name. */
QXAPI int QXgetVariableIndex(QXmodel model, const char *name, int *index);
QXAPI int QXgetConstraintIndex(QXmodel model, const char *name, int *index);
QXAPI int QXgetConeIndex(QXmodel model, const char *name, int *index);
/* Counts in one call; name lengths count every name's characters plus its
 * terminator (the buffer size that holds all names of the kind). Errors:
 * 2009. */
QXAPI int QXgetDimensions(QXmodel model, int *nVars, int *nCons, int *nCones, int *nAnnz,
                          int *nQCnz, int *nConeNz, int *nNLPnz, int *nNLPobjNz,
                          int *nVarNameLen, int *nConNameLen, int *nConeNameLen);

/* ======================================================================
 * Model modification
 * ====================================================================== */
/* Every change leaves the model loaded (QX_STATUS_LOADED); a continuous
 * solution stays readable with model status 12 and primal and dual status 14.
 * Indices are checked one by one (2012 out of range); the changes before a
 * failing index may already be applied. A count of 0 does nothing; a
 * negative count gives 2047; the arrays may be null only when count is 0
 * (else 2010). */

/* New right-hand sides of the listed rows. Errors: 2047, 2010, 2012. */
QXAPI int QXmodifyRHS(QXmodel model, int count, const int *rows, const double *values);
/* Bounds are clamped into [-1e30, 1e30]; binary variables keep bounds within
 * [0, 1] and semi-continuous variables lower bound 0 (else 2047). Errors
 * also as QXmodifyRHS. */
QXAPI int QXmodifyLowerBounds(QXmodel model, int count, const int *vars, const double *values);
QXAPI int QXmodifyUpperBounds(QXmodel model, int count, const int *vars, const double *values);
/* New objective coefficients. Errors as QXmodifyRHS. */
QXAPI int QXmodifyObjective(QXmodel model, int count, const int *vars, const double *values);
/* New objective constant. Errors: 2010 null model only. */
QXAPI int QXmodifyObjConstant(QXmodel model, double value);
/* 'L', 'E', 'G', 'N'; others 2024. Errors also as QXmodifyRHS. */
QXAPI int QXmodifyConstraintType(QXmodel model, int count, const int *rows, const char *types);
/* 'C', 'B', 'I'; others 2024; 'B' for a variable whose bounds exclude
 * [0, 1] 2047. Errors also as QXmodifyRHS. */
QXAPI int QXmodifyVariableType(QXmodel model, int count, const int *vars, const char *types);
/* Sets the coefficients of column var in the given rows, inserting entries
 * that do not exist; a repeated row takes its last value. Errors: 2012 var
 * or a row out of range, 2047, 2010. */
QXAPI int QXmodifyAj(QXmodel model, int var, int count, const int *rows, const double *values);
/* Removes the entries of column var in the given rows (rows without an entry
 * are ignored). Errors as QXmodifyAj. */
QXAPI int QXdeleteAj(QXmodel model, int var, int count, const int *rows);
/* Rows given row-wise: rowbeg has count+1 starts into cols/values; types one
 * of 'L', 'E', 'G', 'N' (else 2004); names, rhs and rowbeg (rows without
 * entries) may be null. Errors also 2047, 2010 null types (values and cols
 * when there are entries), 2012 bad starts or column out of range, 2032 a
 * column twice in a row. */
QXAPI int QXaddConstraints(QXmodel model, int count, const char *types, char **names,
                           const int *rowbeg, const double *values, const int *cols,
                           const double *rhs);
/* Columns given as in QXloadLPData; types ('C', 'B', 'I', 'S'; null: all
 * continuous), names, cost, lower and upper may be null. Errors: 2047
 * negative count or binary bounds outside [0, 1], 2048 bad starts, 2050 bad
 * lengths, 2010 null values or rows with entries, 2012 row out of range,
 * 2024 another type character. */
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
 * it. A loaded starting basis is discarded by either deletion. Errors: 2047,
 * 2010, 2012 index out of range, 2032 index repeated. */
QXAPI int QXdeleteConstraints(QXmodel model, int count, const int *rows);
QXAPI int QXdeleteVariables(QXmodel model, int count, const int *vars);
/* Quadratic terms, as QXloadQCData (terms of one row and column pair are
 * merged); 2030 for a model with cones. QXdeleteQCterms removes every term
 * of the listed rows (-1 the objective; 2052 row out of range). */
QXAPI int QXaddQCterms(QXmodel model, int QCnonzeros, const int *QCrowndx, const int *QCcolndx1,
                       const int *QCcolndx2, const double *QCcoef);
QXAPI int QXdeleteQCterms(QXmodel model, int count, const int *rows);
/* Cones, as QXloadConeData (its errors; 2030 for a model with quadratic
 * terms); names may be null. QXdeleteCones: 2012 index out of range, 2032
 * repeated. QXmodifyCone replaces the type and members of one cone (2012
 * bad cone, 2010 null cols with members, 2004, 2050, 2049). */
QXAPI int QXaddCones(QXmodel model, int count, const char *types, char **names,
                     const int *begcone, const int *cols);
QXAPI int QXdeleteCones(QXmodel model, int count, const int *cones);
QXAPI int QXmodifyCone(QXmodel model, int cone, char type, int nnz, const int *cols);
/* Sets, as QXloadSETSData (its errors). QXdeleteSETS as QXdeleteCones.
 * QXmodifySET replaces the type, cardinality number and members of one set
 * (2012 bad set, 2010 null cols with members, 2050 negative nnz, then the
 * checks of a one-set load). */
QXAPI int QXaddSETS(QXmodel model, int count, const char *types, const int *cardnum,
                    const int *begcol, const int *cols);
QXAPI int QXdeleteSETS(QXmodel model, int count, const int *sets);
QXAPI int QXmodifySET(QXmodel model, int set, char type, int cardnum, int nnz, const int *cols);
/* Changes the semi-continuous bounds of listed variables, making variables
 * that are not yet semi-continuous so. Errors: 2010 a null array, 2047,
 * 2049 index out of range, 2032 repeated. */
QXAPI int QXmodifySemiContVars(QXmodel model, int count, const int *vars, const double *lower,
                               const double *upper);
/* Makes the listed semi-continuous variables ordinary continuous ones
 * (2012 for a variable that is not semi-continuous). Errors also 2047, 2010,
 * 2049 index out of range, 2032 repeated. */
QXAPI int QXdeleteSemiContVars(QXmodel model, int count, const int *vars);
/* Reserves spaces[j] spare entries after column j (n values). Errors: 2010
 * null spaces, 2050 a negative entry. */
QXAPI int QXaddEmptySpacesAcolumns(QXmodel model, const int *spaces);
/* Reserves room for rows, columns and nonzeros, and for name characters of
 * constraints and variables, ahead of loads and additions. Errors: 2047 a
 * negative size. */
QXAPI int QXsetProbAllocSizes(QXmodel model, int nCons, int nVars, int nAnnz);
QXAPI int QXsetProbNameAllocSizes(QXmodel model, int nConNameChars, int nVarNameChars);

/* ======================================================================
 * Model files
 * ====================================================================== */
/* Readers fill an empty model (2030 when it holds data) and leave it
 * unloaded on failure; file names may not be null (2010). */

/* Ways to write a maximisation model (QX_IPARAM_MPS_OBJ_WRITESTYLE). */
#define QX_MPS_USE_MAX_NOTE   0  /* a remark and a commented-out OBJSENSE card */
#define QX_MPS_USE_MAX_CARD   1  /* an OBJSENSE MAX card */
#define QX_MPS_USE_MAX_FLIP   2  /* objective negated, written as a minimisation */

/* MPS files. format: 0 free, 1 fixed, 2 free and 3 fixed in compatibility
 * mode (integer-marker columns default to [0, 1]; an SOS marker without a
 * code opens an SOS1 set). A file name ending in ".gz" is read through zlib.
 * On error 2003 QXgetFileError reports the line number and text. Errors
 * also 2030, 2002 cannot open, and those of the loads the reader makes. */
QXAPI int QXreadMPSFile(QXmodel model, const char *filename, int format);
/* objectiveOrdinal chooses which N row (from 0, in file order) is the
 * objective; keepFreeRows nonzero keeps the other N rows as constraints of
 * type N, zero drops them. Errors as QXreadMPSFile. */
QXAPI int QXreadMPSFileFR(QXmodel model, const char *filename, int format, int objectiveOrdinal,
                          int keepFreeRows);
/* format 0 or 2 writes free format, any other value fixed format. Errors:
 * 2009 model without data, 2002 the file cannot be written, 2004 an unknown
 * row type. */
QXAPI int QXwriteMPSFile(QXmodel model, const char *filename, int format);

/* TORVA text files (.ltx): "MAXIMIZE"/"MINIMIZE", the objective, "SUBJECT TO",
 * rows as algebra with "label)" names, "END", then FREE/SLB/SUB/INT/GIN/TITLE
 * commands. The readers need an empty model (2030), give 2002 when the file
 * cannot be opened, 2003 for a line over 1024 characters and 2025 for a
 * syntax error (QXgetFileError then reports the line); nothing is loaded on
 * failure. A file name ending in ".gz" is read through zlib. */
QXAPI int QXreadTORVAFile(QXmodel model, const char *filename);
/* Same format; served by the same reader. */
QXAPI int QXreadTORVAFileX(QXmodel model, const char *filename);
/* Reads length characters of text (2003 when length is below 1). Errors
 * otherwise as QXreadTORVAFile. */
QXAPI int QXreadTORVAStream(QXmodel model, const char *text, int length);
/* 2009 without data, 2007 for an invalid objective sense, 2004 for a row
 * type other than L, E, G; 2002 when the file cannot be written. */
QXAPI int QXwriteTORVAFile(QXmodel model, const char *filename);
/* Writes the dual of the linear model; objsense 1 writes it as the
 * minimisation of its negated objective, -1 as a maximisation, else 2007.
 * Errors also as QXwriteTORVAFile. */
QXAPI int QXwriteDualTORVAFile(QXmodel model, const char *filename, int objsense);

/* LP text files: objective sense, objective, "subject to" rows with "name:"
 * labels, bounds, binaries, generals/integers, sos (skipped), "end". Codes
 * as for the TORVA readers. */
QXAPI int QXreadLPFile(QXmodel model, const char *filename);
QXAPI int QXreadLPStream(QXmodel model, const char *text, int length);

/* SOLMA modelling-language text of the model, quadratic parts included.
 * 2010 null model, 2009 without data, 2002, 2007, 2004 as above. */
QXAPI int QXwriteSOLMAFile(QXmodel model, const char *filename);

/* Solution report. QXwriteSolution chooses by QX_IPARAM_SOL_REPORT_STYLE
 * (0 full, 1 compact, 2 full with ranges; else 2015). Types: 0 continuous,
 * 1 MIP, 2 continuous by barrier, 3 compact continuous, 4 compact MIP; a
 * type above 4 writes nothing. 2009 when the solution asked for does not
 * exist (or has a status the report cannot show), 2010 for a null model or
 * file name, 2002 when the file cannot be written. */
QXAPI int QXwriteSolution(QXmodel model, const char *filename);
QXAPI int QXwriteSolutionOfType(QXmodel model, const char *filename, int type);

/* Instruction-list (MPI) files: QXreadMPIFile and QXwriteMPIFile with the
 * instruction lists below. Parameter files: QXreadModelParameter above. */

/* ======================================================================
 * Optimisation
 * ====================================================================== */
/* Model status codes (status of QXoptimize, QXgetSolutionStatus and
 * QXgetMIPSolutionStatus, QX_IINFO_ status items). */
#define QX_STATUS_OPTIMAL            1
#define QX_STATUS_BASIC_OPTIMAL      2
#define QX_STATUS_INFEASIBLE         3
#define QX_STATUS_UNBOUNDED          4
#define QX_STATUS_FEASIBLE           5
#define QX_STATUS_INFORUNB           6
#define QX_STATUS_LOCAL_OPTIMAL      8
#define QX_STATUS_LOCAL_INFEASIBLE   9
#define QX_STATUS_CUTOFF             10
#define QX_STATUS_NUMERICAL_ERROR    11
#define QX_STATUS_UNKNOWN            12
#define QX_STATUS_UNLOADED           13
#define QX_STATUS_LOADED             14

/* Optimisation methods (argument of the optimisers, method parameters). */
#define QX_METHOD_FREE       0
#define QX_METHOD_PSIMPLEX   1
#define QX_METHOD_DSIMPLEX   2
#define QX_METHOD_BARRIER    3
#define QX_METHOD_NLP        4

/* Solves the continuous model: linear by the simplex (method 3: interior point, then the simplex from its crossover
 * basis), quadratic by the interior-point method, conic by it with methods 0 and 3. Nonlinear models, cones with
 * quadratic terms and method 4 answer 2029 until their solvers exist (a nonlinear model with a method other than 0 and
 * 4, or QX_IPARAM_NLP_SOLVER not 4, 5, 7, 8, 9 or 10, answers 2006 first). status may be null; on return it holds the
 * model status of the record (also after an error, once the record exists). Errors: 2010 null model, 2031 no data,
 * 2029/2006 unsupported combination of method, model class, threads and decomposition (nothing is touched), 2016/2017
 * iteration/time limit, 2023 interrupted, 2019 numerical trouble, 2018 quadratic model not convex (status 11). */
QXAPI int QXoptimize(QXmodel model, int method, int *status);
/* By model class: LP QXoptimize(0), MILP the integer solver, convex quadratic and conic QXoptimize(3). status may be
 * null. Errors as QXoptimize; 2018 quadratic rows not convex; 2029 nonlinear, mixed-integer quadratic or conic. */
QXAPI int QXoptimizeQP(QXmodel model, int *status);
/* Builds the explicit dual of the linear model into dualModel, which must be
 * an empty model. Dual columns are named "X%07d" (rows), "YL_<col>" and
 * "YU_<col>" (finite lower and upper bounds). Errors: 2010 null model, 2009
 * model without data, 2030 dualModel holds data, 2029 model with integer,
 * quadratic, conic or nonlinear data. */
QXAPI int QXgetDualModel(QXmodel model, QXmodel dualModel);
/* Writes the explicit dual as MPS (fixed when format is nonzero, else free).
 * objsense 1 negates the dual's objective coefficients, -1 keeps them; other
 * values 2007. Errors as QXwriteMPSFile and QXgetDualModel. */
QXAPI int QXwriteDualMPSFile(QXmodel model, const char *filename, int format, int objsense);
/* Writes the presolved form of the model (presolve level
 * QX_IPARAM_LP_PRELEVEL) twice: as MPS under filename with its extension
 * replaced by ".mps" (fixed when format is other than 0 or 2), and as TORVA
 * text under the extension ".ltx". The reduced model keeps the title, the
 * objective, RHS, range and bound vector names, the names of its rows and
 * columns and the integer types. A model with integer columns gets only the
 * reductions of bits 2 and 4 (integer bounds rounded inwards), so it keeps
 * its integer optimum. The model itself is written when presolve is off
 * (level 0 or bit 8192), changes nothing or settles the model, and for
 * models with semi-continuous columns, sets, quadratic, conic or nonlinear
 * data. A model that presolve empties is written with no rows and columns.
 * Errors as QXwriteMPSFile and QXwriteTORVAFile. */
QXAPI int QXwriteReducedMPSFile(QXmodel model, const char *filename, int format);
/* Solve B x = y (QXdoFTRAN) or B' x = y (QXdoBTRAN) with the factorisation
 * of the basis left resident by the last simplex solve. y is given sparse
 * (*ynnz entries at yidx, yval), x is returned sparse the same way (xidx and
 * xval must hold m entries). Errors: 2010 null pointer, 2009 no resident
 * basis, 2012 row index out of range. */
QXAPI int QXdoFTRAN(QXmodel model, const int *ynnz, const int *yidx, const double *yval,
                    int *xnnz, int *xidx, double *xval);
QXAPI int QXdoBTRAN(QXmodel model, const int *ynnz, const int *yidx, const double *yval,
                    int *xnnz, int *xidx, double *xval);

/* ======================================================================
 * Solutions
 * ====================================================================== */
/* The continuous solution record of the last QXoptimize. The getters below
 * give 2009 when there is no readable solution (none stored, the model is
 * unloaded, or the solve ended infeasible or unbounded without a point) or
 * it lacks the vector asked for. Vectors hold n values per column or m per
 * row; any output may be null. */

/* Solution vectors of QXgetSolution. */
#define QX_SOLUTION_PRIMAL              11
#define QX_SOLUTION_DUAL                12
#define QX_SOLUTION_SLACKS              13
#define QX_SOLUTION_REDCOSTS            14
#define QX_SOLUTION_PRIMAL_2            15
#define QX_SOLUTION_DUAL_2              16
#define QX_SOLUTION_SLACKS_2            17
#define QX_SOLUTION_REDCOSTS_2          18

/* Basis status of a column or row: 0 or more is basic (QXgetBasis,
 * QXgetMIPBasis, QXloadBasis). */
#define QX_BASTYPE_BAS       0
#define QX_BASTYPE_ATLO      (-1)
#define QX_BASTYPE_ATUP      (-2)
#define QX_BASTYPE_FNUL      (-3)
#define QX_BASTYPE_SBAS      (-4)

/* Primal values x (n), duals y (m), slacks s (m) and reduced costs d (n).
 * Errors: 2009. */
QXAPI int QXgetPrimalSolution(QXmodel model, double *x);
QXAPI int QXgetDualSolution(QXmodel model, double *y);
QXAPI int QXgetSlacks(QXmodel model, double *s);
QXAPI int QXgetReducedCosts(QXmodel model, double *d);
/* Reduced costs of the cone members (n values; all 0 without cones).
 * Errors: 2009. */
QXAPI int QXgetReducedCostsCone(QXmodel model, double *d);
/* Primal objective value. Errors: 2009. */
QXAPI int QXgetObjective(QXmodel model, double *obj);
/* The vector named by which (QX_SOLUTION_*); an unknown which writes
 * nothing and returns 0. Errors: 2009. */
QXAPI int QXgetSolution(QXmodel model, int which, double *out);
/* Final basis, in QX_BASTYPE_ codes. Errors: 2009 (also without a basis). */
QXAPI int QXgetBasis(QXmodel model, int *colstatus, int *rowstatus);
/* Model status (QX_STATUS_*) of the continuous record. Errors: 2009 no
 * record or model unloaded. */
QXAPI int QXgetSolutionStatus(QXmodel model, int *status);

/* ======================================================================
 * Integer solutions
 * ====================================================================== */
/* The integer solution record (the incumbent of the integer solver). Start
 * points: QXloadMIPVarStartPoint above; callbacks: QXsetMIPCallback. */

/* Integer solver. QXsolveMIP picks the search by the thread parameters;
 * QXsolveMIPSerial runs the serial search; QXbnbSolve solves and writes the
 * solution report to pszFname. QXgetBestBounds tightens the bounds of every
 * variable by propagation over the constraints. QXgetDualMIPsolution
 * re-solves with the integers fixed at their MIP values and keeps the duals.
 * QXgetRoundMIPsolution rounds the integers of padPrimal to the nearest
 * integer and evaluates the point (status QX_STATUS_FEASIBLE or
 * QX_STATUS_INFEASIBLE). */
QXAPI int QXsolveMIP(QXmodel model, int *pnStatus);
QXAPI int QXsolveMIPSerial(QXmodel model, int *pnStatus);
QXAPI int QXbnbSolve(QXmodel model, const char *pszFname);
QXAPI int QXgetBestBounds(QXmodel model, double *padBestL, double *padBestU);
QXAPI int QXgetDualMIPsolution(QXmodel model, double *padPrimal, double *padDual, double *padRedcosts,
                               int *panCstatus, int *panRstatus);
QXAPI int QXgetRoundMIPsolution(QXmodel model, const double *padPrimal, double *padPrimalRound,
                                double *pdObjRound, double *pdPfeasRound, int *pnStatus);
/* QXgetKBestMIPSols: up to nMaxSols best integer solutions with distinct
 * integer parts, best first (padPrimal: nMaxSols x n values, solution after
 * solution; padObjs: nMaxSols); *pnSols receives how many were found. The
 * integer variables must be binary. Errors: 2029 other integer variables,
 * 2047 nMaxSols < 0. QXPreAlgMIP runs the preparatory stages of the integer
 * solver alone (sizes, presolve outcome, start point check); *pnStatus
 * receives QX_STATUS_FEASIBLE when a feasible solution was met. */
QXAPI int QXgetKBestMIPSols(QXmodel model, int nMaxSols, double *padPrimal, double *padObjs, int *pnSols);
/* QXsolveNextBestMIPsols extends the model's next-best list by up to
 * nMaxSols solutions, each the best one whose integer part differs from every
 * solution listed before (the first call starts with an optimum); *pnSols
 * receives how many were added (0 when no further solution exists).
 * QXgetNextBestMIPSol hands out the listed solutions one per call, best
 * first: objective and n values. Any change of the model data empties the
 * list. Errors: as QXgetKBestMIPSols; QXgetNextBestMIPSol 2009 when every
 * listed solution has been handed out. */
QXAPI int QXsolveNextBestMIPsols(QXmodel model, int nMaxSols, int *pnSols);
QXAPI int QXgetNextBestMIPSol(QXmodel model, double *pdObj, double *padPrimal);
QXAPI int QXPreAlgMIP(QXmodel model, int *pnStatus);

/* Concurrent integer solver: QX_IPARAM_MIP_NUM_THREADS searches run at the
 * same time, thread 0 on the model itself and the others on private copies,
 * each with its own strategy. They share the best solution found so far, and
 * the first thread that ends with a final status stops the others; the best
 * thread result is copied into the model and *pnStatus receives its MIP
 * status. QXsolveMIP takes this path when QX_IPARAM_MULTITHREAD_MODE is 3 or
 * 4 and more than one thread is in force. With fewer than two threads the
 * serial search runs. QX_IPARAM_MIP_CONCURRENT_STRATEGY chooses the
 * strategies: -1 or 1 the built-in ones (thread 0 the model's own settings,
 * thread 1 depth first with up branches first, thread 2 best bound with down
 * branches first, thread 3 best estimate with up branches first, further
 * threads cycling through 1 to 3), 0 those installed by QXsetMIPCCStrategy.
 * Parameters changed for the run are restored afterwards. Errors: 2010 null
 * model, 2031 model not loaded, 2029 another strategy value, 2023 the host's
 * progress callback asked to stop; otherwise the error of the thread whose
 * result was taken. */
QXAPI int QXsolveMIPCC(QXmodel model, int *pnStatus);
/* Strategy of one thread of the concurrent integer solver, called on the
 * caller's thread before the searches start, with that thread's model (the
 * host's model for thread 0, a private copy for the others); it may set the
 * thread model's parameters. Its return value is not used. */
typedef int (*QXMIPCCstrategyFunc)(QXmodel model, int nThreadId, void *userdata);
/* Installs the host's strategy of thread nThreadId (0 and up), used when
 * QX_IPARAM_MIP_CONCURRENT_STRATEGY is 0: the callback cb (may be null) is
 * called on the thread's model, then the parameter file szParamFile (may be
 * null) is read into it. One call per thread; a call with cb and szParamFile
 * both null removes the thread's strategy. Threads without one use their
 * built-in strategy. Errors: 2010 null model, 2012 nThreadId below 0. */
QXAPI int QXsetMIPCCStrategy(QXmodel model, QXMIPCCstrategyFunc cb, int nThreadId, const char *szParamFile,
                             void *userdata);

/* Status of the integer record (QX_STATUS_*). Errors: 2009 no record or
 * model unloaded. */
QXAPI int QXgetMIPSolutionStatus(QXmodel model, int *status);
/* Vectors of the incumbent, as the continuous getters. Errors: 2009 unless
 * the record holds a point with status optimal, basic optimal, feasible or
 * local optimal (and the vector asked for). */
QXAPI int QXgetMIPPrimalSolution(QXmodel model, double *x);
/* Objective value and primal values in one call. Errors as
 * QXgetMIPPrimalSolution. */
QXAPI int QXgetMIPSolution(QXmodel model, double *obj, double *x);
/* Duals, reduced costs and slacks stored with the incumbent.
 * Errors as QXgetMIPPrimalSolution. */
QXAPI int QXgetMIPDualSolution(QXmodel model, double *y);
QXAPI int QXgetMIPReducedCosts(QXmodel model, double *d);
QXAPI int QXgetMIPSlacks(QXmodel model, double *s);
/* Basis stored with the incumbent; both parts are checked before either is written.
 * Errors as QXgetMIPPrimalSolution. */
QXAPI int QXgetMIPBasis(QXmodel model, int *colstatus, int *rowstatus);

/* ======================================================================
 * Nonlinear models: instruction lists
 *
 * Each row (objective and constraints) is a program over a stack of doubles:
 * an opcode followed by its operand words. EP_PUSH_NUM k pushes numbers[k],
 * EP_PUSH_VAR j the value of variable j; operators pop their arguments and
 * push the result. Constraint i reads f_i(x) <type> 0. The table of EP_
 * opcodes follows the functions of this section.
 * ====================================================================== */
/* Derivative methods of finite differences (QX_IPARAM_NLP_DERIV_DIFFTYPE). */
#define QX_DERIV_FREE                  0
#define QX_DERIV_FORWARD_DIFFERENCE    1
#define QX_DERIV_BACKWARD_DIFFERENCE   2
#define QX_DERIV_CENTER_DIFFERENCE     3

/* Evaluation modes of QXexecuteInstruct. */
#define QX_EVAL_VALUE      0   /* function value only */
#define QX_EVAL_GRADIENT   1   /* value and gradient by QX_IPARAM_NLP_AUTODERIV */

/* Row properties stored by QXsetConstraintProperty (the class words of MPI
 * files). */
#define QX_CONPROP_UNKNOWN        0   /* not stated */
#define QX_CONPROP_CONST          1
#define QX_CONPROP_LINEAR         2
#define QX_CONPROP_CONVEX         3
#define QX_CONPROP_CONCAVE        4
#define QX_CONPROP_QUASI_CONVEX   5
#define QX_CONPROP_QUASI_CONCAVE  6

/* Loads an instruction-list model into an empty model. Counts: nCons rows,
 * nObjs (must be 1) objectives, nVars variables, nNumbers numbers. varType
 * ('C', 'I', 'B'; default 'C'), varIndex (stored as given), varStart, lower
 * and upper (default -/+ QX_DPARAM_NLP_INF) may be null; conType, conBeg and
 * conLength may be null when nCons is 0, numbers when nNumbers is 0. Errors:
 * 2010 null model or array, 2030 model holds data, 2064 bad counts, 2065
 * segments longer than codeSize, 2066 lower above upper, 2007 bad objective
 * sense, 2067 a segment fails validation (QXgetErrorRowIndex gives the row,
 * -1 the objective). A failed load leaves the model unloaded. */
QXAPI int QXloadInstruct(QXmodel model, int nCons, int nObjs, int nVars, int nNumbers,
                         const int *objSense, const char *conType, const char *varType,
                         const int *code, int codeSize, const int *varIndex,
                         const double *numbers, const double *varStart, const int *objBeg,
                         const int *objLength, const int *conBeg, const int *conLength,
                         const double *lower, const double *upper);
/* The same operation as QXloadInstruct. */
QXAPI int QXloadNLPCode(QXmodel model, int nCons, int nObjs, int nVars, int nNumbers,
                        const int *objSense, const char *conType, const char *varType,
                        const int *code, int codeSize, const int *varIndex,
                        const double *numbers, const double *varStart, const int *objBeg,
                        const int *objLength, const int *conBeg, const int *conLength,
                        const double *lower, const double *upper);
/* Adds rows, numbers and variables to a loaded model (a matrix-loaded model is
 * first turned into an instruction list, quadratic terms included; from then
 * on the list carries the model's functions and the matrix, right-hand sides,
 * costs and quadratic terms read as empty). Later modification calls reach
 * the list: their linear and quadratic data are added to the rows' code. The
 * new code addresses numbers and
 * variables of the new lists counted from 0 after the existing ones for
 * variables (index n + k is new variable k) and from 0 in its own number list.
 * With nObjs 1 the given objective code is added to the existing objective.
 * Errors: 2010, 2031 no rows or columns, 2029 model with cones, 2064, 2007,
 * 2066, 2067; on an error the model is left as it was. */
QXAPI int QXaddInstruct(QXmodel model, int nCons, int nObjs, int nVars, int nNumbers,
                        const int *objSense, const char *conType, const char *varType,
                        const int *code, int codeSize, const int *varIndex,
                        const double *numbers, const double *varStart, const int *objBeg,
                        const int *objLength, const int *conBeg, const int *conLength,
                        const double *lower, const double *upper);
/* Turns a model loaded as matrix data into an instruction list spelling out
 * the same model, the conversion QXaddInstruct makes before adding; the
 * matrix, right-hand sides, costs and quadratic terms then read as empty.
 * Returns 0 at once when the model already holds a list. Errors: 2010,
 * 2031 nothing loaded, 2029 model with cones. */
QXAPI int QXloadData2Inst(QXmodel model);
/* Copies the instruction list out: first its sizes (rows, variables,
 * numbers, code words), then the lists sized by them. Every output may be
 * null. Errors (both): 2033 when no instruction list is loaded. */
QXAPI int QXgetInstructSizes(QXmodel model, int *nCons, int *nVars, int *nNumbers,
                             int *codeSize);
/* The lists; objBeg and objLength give the objective's segment. */
QXAPI int QXgetInstruct(QXmodel model, int *objSense, char *conType, char *varType, int *code,
                        double *numbers, int *objBeg, int *objLength, int *conBeg,
                        int *conLength, double *lower, double *upper);
/* Class of each row of an instruction-list model: rowClass[0] the objective,
 * rowClass[i + 1] constraint i (0 linear or constant, 1 nonlinear); setFlag the
 * same rows (1 for rows using EP_POSD, EP_SETS or EP_CARD); *modelClass 0
 * linear, 1 nonlinear, 2 linear with stochastic parameters. Any output may be
 * null. 2033 when no instruction list is loaded. */
QXAPI int QXgetInstructClass(QXmodel model, int *modelClass, int *rowClass, int *setFlag);
/* Evaluates row (-1 the objective) at x (nVars values): *value the function
 * value; with mode QX_EVAL_GRADIENT grad (nVars values, may be null) the
 * gradient, by the method of QX_IPARAM_NLP_AUTODERIV. *domainError (may be
 * null) is 1 when a substitute value replaced an undefined result. Errors:
 * 2010, 2033 no instruction list, 2012 bad row, 2024 bad mode, 2058 string
 * used as a number, 2067 opcode without evaluation (QXgetErrorRowIndex gives
 * the row). */
QXAPI int QXexecuteInstruct(QXmodel model, int row, int mode, const double *x, double *value,
                            double *grad, int *domainError);
/* First derivatives of the objective (row 0) and the constraints (row i + 1),
 * entries of a row in increasing variable order. start holds m + 2 ints. Any
 * output may be null; with x given (n values) value must be given. Errors:
 * 2010, 2031 no model loaded, 2001. */
QXAPI int QXgetJac(QXmodel model, int *nnz, int *objNnz, int *start, int *index, double *value,
                   const double *x);
/* Second derivatives of the objective and each constraint (the same row
 * numbering and start layout as QXgetJac), lower triangle index1 >= index2,
 * ordered by index1 then index2. Errors: 2010, 2031, 2009 no instruction list
 * (no second-derivative structure), 2001. */
QXAPI int QXgetHess(QXmodel model, int *nnz, int *start, int *index1, int *index2,
                    double *value, const double *x);
/* Values of the stochastic parameters of an instruction-list model: EP_PUSH_SPAR
 * k pushes values[k]. Their number is one past the largest k the rows use
 * (QX_IINFO_NUM_SPARS); QXsetStocParValues sets parameters 0 .. count-1 and
 * the others to 0 (all are 0 until set). QXgetStocParValues gives the number
 * and all values; either output may be null. Errors: 2010, 2033 no
 * instruction list, 2012 count negative or above the number of parameters. */
QXAPI int QXsetStocParValues(QXmodel model, int count, const double *values);
QXAPI int QXgetStocParValues(QXmodel model, int *count, double *values);
/* Strings of the model's string table (EP_PUSH_STR k addresses strings[k]);
 * replaces any earlier table. A null entry is an empty string; strings may
 * be null when nStrings is 0. Errors: 2012 negative nStrings, 2010 null
 * strings. */
QXAPI int QXloadStringData(QXmodel model, int nStrings, char **strings);
/* Number of strings in the table. Errors: 2010 null model or nStrings. */
QXAPI int QXgetStringCount(QXmodel model, int *nStrings);
/* Stores a property QX_CONPROP_* for row (-1 the objective). 2012 bad row,
 * 2024 bad property, 2033 no instruction list. QXgetConstraintProperty reads
 * it back (2010 null property, 2033, 2012). */
QXAPI int QXsetConstraintProperty(QXmodel model, int row, int property);
QXAPI int QXgetConstraintProperty(QXmodel model, int row, int *property);
/* Nonlinear structure of a model: the rows (-1 the objective) in which each
 * variable appears nonlinearly. QXaddNLPAj adds rows of column var (2049 bad
 * var, 2012 bad row, 2032 repeated row); values may be null. QXaddNLPobj
 * marks variables as nonlinear in the objective, QXdeleteNLPobj unmarks them
 * (2049 bad index). QXaddEmptySpacesNLPAcolumns reserves spaces[j] further
 * entries for each column (null spaces: nothing). QXgetNLPData copies the
 * structure out column-wise (colBeg n + 1, rows, values; objVars the marked
 * objective variables); every output may be null. A count of 0 or less does
 * nothing; rows or vars may then be null (else 2010). QXaddNLPobj also gives
 * 2032 for a repeated variable, QXaddEmptySpacesNLPAcolumns 2012 for a
 * negative entry. */
QXAPI int QXaddNLPAj(QXmodel model, int var, int count, const int *rows, const double *values);
QXAPI int QXaddNLPobj(QXmodel model, int count, const int *vars, const double *values);
QXAPI int QXdeleteNLPobj(QXmodel model, int count, const int *vars);
QXAPI int QXaddEmptySpacesNLPAcolumns(QXmodel model, const int *spaces);
QXAPI int QXgetNLPData(QXmodel model, int *nnz, int *colBeg, int *rows, double *values,
                       int *objCount, int *objVars);

/* MPI instruction-list files. The reader fills an empty model ("*.gz" names
 * are read through zlib); errors 2030 model holds data, 2002 cannot open, 2008 bad file (line and
 * text through QXgetFileError), 2064-2067 from the loader. The writer writes
 * a loaded model (a matrix-loaded one is turned into an instruction list
 * first); 2002 when the file cannot be created, 2031 no model loaded. */
QXAPI int QXreadMPIFile(QXmodel model, const char *filename);
QXAPI int QXwriteMPIFile(QXmodel model, const char *filename);

/* Opcodes. */
#define EP_NO_OP         0
#define EP_PLUS          1001
#define EP_MINUS         1002
#define EP_MULTIPLY      1003
#define EP_DIVIDE        1004
#define EP_POWER         1005
#define EP_EQUAL         1006
#define EP_NOT_EQUAL     1007
#define EP_LTOREQ        1008
#define EP_GTOREQ        1009
#define EP_LTHAN         1010
#define EP_GTHAN         1011
#define EP_AND           1012
#define EP_OR            1013
#define EP_NOT           1014
#define EP_PERCENT       1015
#define EP_POSATE        1016
#define EP_NEGATE        1017
#define EP_ABS           1018
#define EP_SQRT          1019
#define EP_LOG           1020
#define EP_LN            1021
#define EP_PI            1022
#define EP_SIN           1023
#define EP_COS           1024
#define EP_TAN           1025
#define EP_ATAN2         1026
#define EP_ATAN          1027
#define EP_ASIN          1028
#define EP_ACOS          1029
#define EP_EXP           1030
#define EP_MOD           1031
#define EP_FALSE         1032
#define EP_TRUE          1033
#define EP_IF            1034
#define EP_PSN           1035
#define EP_PSL           1036
#define EP_LGM           1037
#define EP_SIGN          1038
#define EP_FLOOR         1039
#define EP_FPA           1040
#define EP_FPL           1041
#define EP_PEL           1042
#define EP_PEB           1043
#define EP_PPS           1044
#define EP_PPL           1045
#define EP_PTD           1046
#define EP_PCX           1047
#define EP_WRAP          1048
#define EP_PBNO          1049
#define EP_PFS           1050
#define EP_PFD           1051
#define EP_PHG           1052
#define EP_RAND          1053
#define EP_USER          1054
#define EP_SUM           1055
#define EP_AVG           1056
#define EP_MIN           1057
#define EP_MAX           1058
#define EP_NPV           1059
#define EP_VAND          1060
#define EP_VOR           1061
#define EP_PUSH_NUM      1062
#define EP_PUSH_VAR      1063
#define EP_NORMDENS      1064
#define EP_NORMINV       1065
#define EP_TRIAINV       1066
#define EP_EXPOINV       1067
#define EP_UNIFINV       1068
#define EP_MULTINV       1069
#define EP_USRCOD        1070
#define EP_SUMPROD       1071
#define EP_SUMIF         1072
#define EP_VLOOKUP       1073
#define EP_VPUSH_NUM     1074
#define EP_VPUSH_VAR     1075
#define EP_VMULT         1076
#define EP_SQR           1077
#define EP_SINH          1078
#define EP_COSH          1079
#define EP_TANH          1080
#define EP_ASINH         1081
#define EP_ACOSH         1082
#define EP_ATANH         1083
#define EP_LOGB          1084
#define EP_LOGX          1085
#define EP_LNX           1086
#define EP_TRUNC         1087
#define EP_NORMSINV      1088
#define EP_INT           1089
#define EP_PUSH_STR      1090
#define EP_VPUSH_STR     1091
#define EP_PUSH_SPAR     1092
#define EP_PUSH_SVAR     1092 /* another name of EP_PUSH_SPAR */
#define EP_NORMPDF       1093
#define EP_NORMCDF       1094
#define EP_LSQ           1095
#define EP_PSN_UPPER     1096 /* 1 - Phi(a), the upper tail of the standard normal law */
#define EP_PSN_LOG       1097 /* ln Phi(a) */
#define EP_PSN_RANGE     1098 /* Phi(b) - Phi(a) for the arguments a, b in push order */
#define EP_PBT           1100
#define EP_PBTINV        1101
#define EP_PBNINV        1102
#define EP_PCC           1103
#define EP_PCCINV        1104
#define EP_PCXINV        1105
#define EP_EXPN          1106
#define EP_PFDINV        1107
#define EP_PGA           1108
#define EP_PGAINV        1109
#define EP_PGE           1110
#define EP_PGEINV        1111
#define EP_PGU           1112
#define EP_PGUINV        1113
#define EP_PHGINV        1114
#define EP_PLA           1115
#define EP_PLAINV        1116
#define EP_PLG           1117
#define EP_PLGINV        1118
#define EP_LGT           1119
#define EP_LGTINV        1120
#define EP_LGNM          1121
#define EP_LGNMINV       1122
#define EP_NGBN          1123
#define EP_NGBNINV       1124
#define EP_NRM           1125
#define EP_PPT           1126
#define EP_PPTINV        1127
#define EP_PPSINV        1128
#define EP_PTDINV        1129
#define EP_TRIAN         1130
#define EP_UNIFM         1131
#define EP_PWB           1132
#define EP_PWBINV        1133
#define EP_NRMINV        1134
#define EP_TRIANINV      1135
#define EP_EXPNINV       1136
#define EP_UNIFMINV      1137
#define EP_MLTNMINV      1138
#define EP_BTDENS        1139
#define EP_BNDENS        1140
#define EP_CCDENS        1141
#define EP_CXDENS        1142
#define EP_EXPDENS       1143
#define EP_FDENS         1144
#define EP_GADENS        1145
#define EP_GEDENS        1146
#define EP_GUDENS        1147
#define EP_HGDENS        1148
#define EP_LADENS        1149
#define EP_LGDENS        1150
#define EP_LGTDENS       1151
#define EP_LGNMDENS      1152
#define EP_NGBNDENS      1153
#define EP_NRMDENS       1154
#define EP_PTDENS        1155
#define EP_PSDENS        1156
#define EP_TDENS         1157
#define EP_TRIADENS      1158
#define EP_UNIFDENS      1159
#define EP_WBDENS        1160
#define EP_RADIANS       1161
#define EP_DEGREES       1162
#define EP_ROUND         1163
#define EP_ROUNDUP       1164
#define EP_ROUNDDOWN     1165
#define EP_ERF           1166
#define EP_PBN           1167
#define EP_PBB           1168
#define EP_PBBINV        1169
#define EP_BBDENS        1170
#define EP_PSS           1171
#define EP_SSDENS        1172
#define EP_SSINV         1173
#define EP_POSD          1174
#define EP_SETS          1175
#define EP_CARD          1176
#define EP_STDEV         1177
/* Operand of EP_USRCOD that marks objective code appended by QXaddInstruct. */
#define EP_USRCOD_APPEND_MARK 49152
/* Variable index of EP_VPUSH_VAR that stands for an absent cell. */
#define EP_VPUSH_VAR_ABSENT  (-8)

/* ======================================================================
 * Random number generators
 * ====================================================================== */
/* Generators (QXrg) are declared with the handles at the top. */

/* Generator kinds (QXcreateRG, QXcreateRGMT). */
#define QX_RANDGEN_FREE          (-1) /* same as QX_RANDGEN_MERSENNE */
#define QX_RANDGEN_SYSTEM        0    /* 15-bit LCG, state per thread, [0,1] */
#define QX_RANDGEN_MRG32K3A      1    /* L'Ecuyer MRG32k3a, (0,1] */
#define QX_RANDGEN_LCG31         2    /* 742938285 x mod 2^31-1, [0,1) */
#define QX_RANDGEN_SHUFFLE       3    /* combined LCGs + Bays-Durham shuffle */
#define QX_RANDGEN_SUBTRACTIVE   4    /* Knuth subtractive mod 10^9, [0,1) */
#define QX_RANDGEN_LAGFIB        5    /* lagged Fibonacci (24,55) on doubles */
#define QX_RANDGEN_MERSENNE      6    /* MT19937, [0,1) */

/* Creates a generator of kind (QX_RANDGEN_*) in env; null for a null env or
 * an unknown kind. */
QXAPI QXrg QXcreateRG(QXenv env, int kind);
/* Reads QX_IPARAM_SAMP_NUM_THREADS and QX_IPARAM_SAMP_RG_BUFFER_SIZE of env;
 * with two or more threads only QX_RANDGEN_MERSENNE is accepted and the
 * generator hands out numbers from a buffer refilled in parallel. Null on
 * failure. */
QXAPI QXrg QXcreateRGMT(QXenv env, int kind);
/* Seed 0 takes the calendar time in seconds. A null rg is ignored. */
QXAPI void QXsetRGSeed(QXrg rg, unsigned int seed);
/* The seed in use (the time taken for seed 0); 0 for a null rg or before
 * seeding. */
QXAPI unsigned int QXgetInitSeed(QXrg rg);
/* The two draws do not check their handle: rg must be a live generator. A
 * uniform double in the kind's interval. */
QXAPI double QXgetDoubleRV(QXrg rg);
/* lo >= hi gives lo without drawing; otherwise an integer in [lo, hi]. */
QXAPI int QXgetInt32RV(QXrg rg, int lo, int hi);
/* Attaches a distribution (QX_DIST_*) to the generator, replacing an earlier
 * one. Errors: 2010 null rg or a generator whose environment is gone, 2341
 * unknown type. */
QXAPI int QXsetDistrRG(QXrg rg, int distrType);
/* Sets parameter index (0..4) of the attached distribution. Errors: 2009 no
 * distribution attached, 2012 bad index. */
QXAPI int QXsetDistrParamRG(QXrg rg, int index, double value);
/* Draws from the attached distribution (inverse cumulative distribution at
 * a uniform draw). Errors: 2010 null value, 2009 no distribution attached,
 * and the evaluation errors of QXsampEvalDistr. */
QXAPI int QXgetDistrRV(QXrg rg, double *value);
/* Refills the buffer of a buffered generator; nothing to do (0) for the
 * single-stream ones. */
QXAPI int QXfillRGBuffer(QXrg rg);
/* The buffer of a buffered generator (null and size 0 for the others). */
QXAPI double *QXgetRGBufferPtr(QXrg rg, int *size);
/* Number of threads filling the buffer. Errors: 2010 null rg or
 * numThreads. */
QXAPI int QXgetRGNumThreads(QXrg rg, int *numThreads);
/* Releases the generator and sets *rg to null; null rg or *rg is ignored. */
QXAPI void QXdisposeRG(QXrg *rg);

/* ======================================================================
 * Sampling
 * ====================================================================== */
/* Samples (QXsample) are declared with the handles at the top. */

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

/* Host function of a user-defined distribution: called with the sample, a
 * function code, two int arguments, an output pointer and the user data; it
 * returns 0, or an error code that stops the caller.
 * - QXsampEvalUserDistr passes its own code, ints and output pointer through.
 * - Generation calls it once per point i with funcCode QX_DISTR_FUNC_ICDF,
 *   iarg1 = i, iarg2 = nargs, the number of argument samples, and value
 *   pointing at an array holding the i-th points of the argument samples
 *   (value[0..nargs-1], in the order they were added); the function writes
 *   point i into value[0]. */
typedef int (*QXuserDistrFunc)(QXsample sample, int funcCode, int iarg1, int iarg2,
                               double *value, void *userdata);

/* Creates a sample of distribution distrType in env; null on failure.
 * *errorcode receives 0 or 2010 (null env). */
QXAPI QXsample QXsampCreate(QXenv env, int distrType, int *errorcode);
/* Deletes the sample and sets *sample to null. Errors: 2010 null sample or
 * *sample, 2015 not in its environment's list. */
QXAPI int QXsampDelete(QXsample *sample);
/* The generator the sample draws from. Errors: 2010 null sample or rg. */
QXAPI int QXsampSetRG(QXsample sample, QXrg rg);
/* Parameter index (0..4) of the distribution. Errors: 2012 bad index
 * (QXsampGetDistrParam also 2010 null value). */
QXAPI int QXsampSetDistrParam(QXsample sample, int index, double value);
QXAPI int QXsampGetDistrParam(QXsample sample, int index, double *value);
/* Density, cumulative or inverse cumulative distribution (funcCode
 * QX_DISTR_FUNC_*) at x. Errors: 2010 null value, 2341 unknown type, 2389
 * function code the type does not offer, 2393 a parameter not set, 2348
 * parameters breaking their rule, 2344 probability outside [0, 1], 2347 x
 * not a number, 2380 no table loaded (table types), 2349 an inversion that
 * did not converge. */
QXAPI int QXsampEvalDistr(QXsample sample, int funcCode, double x, double *value);
/* Generates n points by method (QX_MONTECARLO ...). Errors: 2352 no
 * generator set, 2366 generator not seeded, 2358 negative n, 2335 unknown
 * method, 2388 user-defined distribution without its function, and the
 * evaluation errors of QXsampEvalDistr. */
QXAPI int QXsampGenerate(QXsample sample, int method, int n);
/* Loads n points instead of generating them (points may be null when n is
 * 0). Errors: 2358 negative n, 2010 null points, 2029 a user-defined
 * distribution. */
QXAPI int QXsampLoadPoints(QXsample sample, int n, const double *points);
/* points must hold the count (query it with points null). Errors: 2009 no
 * points. The Ptr form hands out the sample's own array (valid until the
 * points change). */
QXAPI int QXsampGetPoints(QXsample sample, int *n, double *points);
QXAPI int QXsampGetPointsPtr(QXsample sample, int *n, double **points);
/* The same for the correlation-induced points (2009 before induction). */
QXAPI int QXsampGetCIPoints(QXsample sample, int *n, double *points);
QXAPI int QXsampGetCIPointsPtr(QXsample sample, int *n, double **points);
/* len < 1 means 5000 entries; values may be null (the values are then the
 * indices 0..len-1). Errors: 2341 the sample's type is not a discrete one,
 * 2340 probabilities that do not sum to 1. */
QXAPI int QXsampLoadDiscretePdfTable(QXsample sample, int len, const double *prob,
                                     const double *values);
/* The table back; any output may be null. Errors: 2009 asking for
 * probabilities or values the table does not hold. */
QXAPI int QXsampGetDiscretePdfTable(QXsample sample, int *len, double *prob, double *values);
/* Function of a user-defined distribution. Errors: 2010 null sample or
 * func. */
QXAPI int QXsampSetUserDistr(QXsample sample, QXuserDistrFunc func, void *userdata);
/* Adds argSample as the next argument sample of a user-defined distribution.
 * Errors: 2010 null argSample, 2387 argSample already in use. */
QXAPI int QXsampAddUserFuncArg(QXsample sample, QXsample argSample);
/* Calls the user function with the given code and arguments. Errors: 2010
 * null value, 2056 no user function set, or the function's own code. */
QXAPI int QXsampEvalUserDistr(QXsample sample, int funcCode, int iarg1, int iarg2, double *value);
/* Rearranges the points of samples[0..count-1] (all of one size) into the
 * correlation-induced points so that their pairwise correlations of corrType
 * approach the targets: pair k asks for correlation values[k] between
 * samples pairI[k] and pairJ[k]; pairs not listed ask for 0. Errors: 2010
 * null samples (or pair arrays with npairs > 0), 2012 count below 1,
 * negative npairs or a bad pair, 2361 bad corrType, 2369 a sample without
 * points, 2358 samples of different sizes, 2347 a target outside [-1, 1] or
 * a target matrix that is not positive definite, 2371 too few points, 2352
 * no sample with a generator. */
QXAPI int QXsampInduceCorrelation(QXsample *samples, int count, int corrType, int npairs,
                                  const int *pairI, const int *pairJ, const double *values);
/* Writes the count*(count-1)/2 pairs i < j in row order: *npairs, pairI,
 * pairJ and values (each may be null). kind is QX_SAMP_POINTS or
 * QX_SAMP_CI_POINTS (else 2024). Errors also 2010, 2012 as
 * QXsampInduceCorrelation, 2361, 2369 (QX_SAMP_POINTS) or 2379
 * (QX_SAMP_CI_POINTS) a sample without those points, 2358. */
QXAPI int QXsampGetCorrelationMatrix(QXsample *samples, int count, int kind, int corrType,
                                     int *npairs, int *pairI, int *pairJ, double *values);
/* Information item QX_?INFO_SAMP_* of a sample. Errors: 2010 null value,
 * 2074 unknown item, 2009 a statistic of a sample without (enough) points. */
QXAPI int QXsampGetInfo(QXsample sample, int item, void *value);

/* ======================================================================
 * Parameter identifiers (QXsetModelIntParameter and relatives)
 * ====================================================================== */
/* QX_IPARAM_ parameters hold an int, QX_DPARAM_ a double, QX_SPARAM_ a
 * string. QXgetParamLongDesc describes each one. */

/* library version (read only) */
#define QX_IPARAM_VER_MAJOR                        990
#define QX_IPARAM_VER_MINOR                        991
#define QX_IPARAM_VER_BUILD                        992
#define QX_IPARAM_VER_REVISION                     993
#define QX_IPARAM_VER_NUMBER                       999

/* general */
#define QX_IPARAM_OBJSENSE                         1022
#define QX_DPARAM_CALLBACKFREQ                     1023
#define QX_DPARAM_OBJPRINTMUL                      1024
#define QX_IPARAM_CHECK_FOR_ERRORS                 1025
#define QX_IPARAM_ALLOW_CNTRLBREAK                 1026
#define QX_IPARAM_DECOMPOSITION_TYPE               1027
#define QX_IPARAM_LP_SCALE                         1029
#define QX_IPARAM_LP_ITRLMT                        1030
#define QX_IPARAM_SPLEX_PPRICING                   1031
#define QX_IPARAM_SPLEX_REFACFRQ                   1032
#define QX_IPARAM_BARRIER_SOLVER                   1033
#define QX_IPARAM_PROB_TO_SOLVE                    1034
#define QX_IPARAM_LP_PRINTLEVEL                    1035
#define QX_IPARAM_MPS_OBJ_WRITESTYLE               1036
#define QX_IPARAM_SPLEX_DPRICING                   1037
#define QX_IPARAM_SOL_REPORT_STYLE                 1038
#define QX_IPARAM_INSTRUCT_LOADTYPE                1039
#define QX_IPARAM_SPLEX_DUAL_PHASE                 1040
/* LP presolve level, a bit mask (default 126 = bits 2 to 64; 0 off):
 *   2     empty and free rows; singleton rows turned into column bounds
 *   4     empty columns (at the bound their cost prefers), fixed columns
 *   8     infeasible, forcing and redundant rows by activity bounds (own
 *         bounds, bounds implied one row deep and over chains of rows);
 *         the looser of two parallel rows
 *   16    column singletons: free and implied-free ones substituted out
 *         with their row; slack singletons (equation -> inequality)
 *   32    dominated columns (pushed to one bound by cost and rows), weakly
 *         dominated columns (over the dual bounds), parallel columns
 *   64    doubleton equations and implied-free columns of longer
 *         equations substituted out
 *   8192  presolve off for the call; the value itself is kept
 * Families shared by two bits: singletons (2 rows, 16 columns), parallel
 * lists (8 rows, 32 columns), substitution out of an equation (16 singleton
 * columns, 64 longer equations). Warm starts skip presolve: a
 * reoptimisation from the resident basis, a basis handed over by the
 * caller and a basis loaded by QXloadBasis. QXwriteReducedMPSFile applies
 * only bits 2 and 4 to a model with integer columns. */
#define QX_IPARAM_LP_PRELEVEL                      1041
#define QX_IPARAM_STRING_LENLMT                    1042
#define QX_IPARAM_USE_NAMEDATA                     1043
#define QX_IPARAM_SPLEX_USE_EXTERNAL               1044
#define QX_DPARAM_LP_ITRLMT                        1045
#define QX_IPARAM_COPY_MODE                        1046
#define QX_IPARAM_SBD_NUM_THREADS                  1047
#define QX_IPARAM_NUM_THREADS                      1048
#define QX_IPARAM_MULTITHREAD_MODE                 1049
#define QX_IPARAM_FIND_BLOCK                       1050
#define QX_IPARAM_PROFILER_LEVEL                   1051
#define QX_IPARAM_INSTRUCT_READMODE                1052
#define QX_IPARAM_INSTRUCT_SUBOUT                  1053
#define QX_IPARAM_SOLPOOL_LIM                      1054

/* LP solver */
#define QX_IPARAM_SOLVER_IUSOL                     1251
#define QX_IPARAM_SOLVER_TIMLMT                    1252
#define QX_DPARAM_SOLVER_CUTOFFVAL                 1253
#define QX_DPARAM_SOLVER_FEASTOL                   1254
#define QX_IPARAM_SOLVER_RESTART                   1255
#define QX_IPARAM_SOLVER_IPMSOL                    1256
#define QX_DPARAM_SOLVER_OPTTOL                    1257
#define QX_IPARAM_SOLVER_USECUTOFFVAL              1258
#define QX_IPARAM_SOLVER_PRE_ELIM_FILL             1259
#define QX_DPARAM_SOLVER_TIMLMT                    1260
#define QX_IPARAM_SOLVER_CONCURRENT_OPTMODE        1261
#define QX_DPARAM_SOLVER_PERT_FEASTOL              1262
#define QX_IPARAM_SOLVER_PARTIALSOL_LEVEL          1263
#define QX_IPARAM_SOLVER_MODE                      1264

/* infeasibility and unboundedness analysis, output format */
#define QX_IPARAM_IIS_ANALYZE_LEVEL                1550
#define QX_IPARAM_IUS_ANALYZE_LEVEL                1551
#define QX_IPARAM_IIS_TOPOPT                       1552
#define QX_IPARAM_IIS_REOPT                        1553
#define QX_IPARAM_IIS_USE_SFILTER                  1554
#define QX_IPARAM_IIS_PRINT_LEVEL                  1555
#define QX_IPARAM_IIS_INFEAS_NORM                  1556
#define QX_IPARAM_IIS_ITER_LIMIT                   1557
#define QX_DPARAM_IIS_ITER_LIMIT                   1558
#define QX_IPARAM_IIS_TIME_LIMIT                   1559
#define QX_IPARAM_IIS_METHOD                       1560
#define QX_IPARAM_IIS_USE_EFILTER                  1561
#define QX_IPARAM_IIS_USE_GOP                      1562
#define QX_IPARAM_IIS_NUM_THREADS                  1563
#define QX_IPARAM_IIS_GETMODE                      1564
#define QX_IPARAM_FMT_ISSQL                        1590

/* nonlinear solver and multistart */
#define QX_IPARAM_NLP_SOLVE_AS_LP                  2500
#define QX_IPARAM_NLP_SOLVER                       2501
#define QX_IPARAM_NLP_SUBSOLVER                    2502
#define QX_IPARAM_NLP_PRINTLEVEL                   2503
#define QX_DPARAM_NLP_PSTEP_FINITEDIFF             2504
#define QX_IPARAM_NLP_DERIV_DIFFTYPE               2505
#define QX_DPARAM_NLP_FEASTOL                      2506
#define QX_DPARAM_NLP_REDGTOL                      2507
#define QX_IPARAM_NLP_USE_CRASH                    2508
#define QX_IPARAM_NLP_USE_STEEPEDGE                2509
#define QX_IPARAM_NLP_USE_SLP                      2510
#define QX_IPARAM_NLP_USE_SELCONEVAL               2511
#define QX_IPARAM_NLP_PRELEVEL                     2512
#define QX_IPARAM_NLP_ITRLMT                       2513
#define QX_IPARAM_NLP_LINEARZ                      2514
#define QX_IPARAM_NLP_LINEARITY                    2515
#define QX_IPARAM_NLP_STARTPOINT                   2516
#define QX_IPARAM_NLP_CONVEXRELAX                  2517
#define QX_IPARAM_NLP_CR_ALG_REFORM                2518
#define QX_IPARAM_NLP_QUADCHK                      2519
#define QX_IPARAM_NLP_AUTODERIV                    2520
#define QX_IPARAM_NLP_MAXLOCALSEARCH               2521
#define QX_IPARAM_NLP_CONVEX                       2522
#define QX_IPARAM_NLP_CONOPT_VER                   2523
#define QX_IPARAM_NLP_USE_TORVA_CRASH              2524
#define QX_IPARAM_NLP_STALL_ITRLMT                 2525
#define QX_IPARAM_NLP_AUTOHESS                     2526
#define QX_IPARAM_NLP_FEASCHK                      2527
#define QX_DPARAM_NLP_ITRLMT                       2528
#define QX_IPARAM_NLP_MAXSUP                       2529
#define QX_IPARAM_NLP_MSW_SOLIDX                   2530
#define QX_IPARAM_NLP_ITERS_PER_LOGLINE            2531
#define QX_IPARAM_NLP_MAX_RETRY                    2532
#define QX_IPARAM_NLP_MSW_NORM                     2533
#define QX_IPARAM_NLP_MSW_POPSIZE                  2534
#define QX_IPARAM_NLP_MSW_MAXPOP                   2535
#define QX_IPARAM_NLP_MSW_MAXNOIMP                 2536
#define QX_IPARAM_NLP_MSW_FILTMODE                 2537
#define QX_DPARAM_NLP_MSW_POXDIST_THRES            2538
#define QX_DPARAM_NLP_MSW_EUCDIST_THRES            2539
#define QX_DPARAM_NLP_MSW_XNULRAD_FACTOR           2540
#define QX_DPARAM_NLP_MSW_XKKTRAD_FACTOR           2541
#define QX_IPARAM_NLP_MAXLOCALSEARCH_TREE          2542
#define QX_IPARAM_NLP_MSW_NUM_THREADS              2543
#define QX_IPARAM_NLP_MSW_RG_SEED                  2544
#define QX_IPARAM_NLP_MSW_PREPMODE                 2545
#define QX_IPARAM_NLP_MSW_RMAPMODE                 2546
#define QX_IPARAM_NLP_XSMODE                       2547
#define QX_DPARAM_NLP_MSW_OVERLAP_RATIO            2548
#define QX_DPARAM_NLP_INF                          2549
#define QX_IPARAM_NLP_IPM2GRG                      2550
#define QX_IPARAM_NLP_USE_SDP                      2551

/* interior-point solver */
#define QX_DPARAM_IPM_TOL_INFEAS                   3150
#define QX_DPARAM_IPM_TOL_PATH                     3151
#define QX_DPARAM_IPM_TOL_PFEAS                    3152
#define QX_DPARAM_IPM_TOL_REL_STEP                 3153
#define QX_DPARAM_IPM_TOL_PSAFE                    3154
#define QX_DPARAM_IPM_TOL_DFEAS                    3155
#define QX_DPARAM_IPM_TOL_DSAFE                    3156
#define QX_DPARAM_IPM_TOL_MU_RED                   3157
#define QX_DPARAM_IPM_BASIS_REL_TOL_S              3158
#define QX_DPARAM_IPM_BASIS_TOL_S                  3159
#define QX_DPARAM_IPM_BASIS_TOL_X                  3160
#define QX_DPARAM_IPM_BI_LU_TOL_REL_PIV            3161
#define QX_DPARAM_IPM_CO_TOL_INFEAS                3162
#define QX_DPARAM_IPM_CO_TOL_PFEAS                 3163
#define QX_DPARAM_IPM_CO_TOL_DFEAS                 3164
#define QX_DPARAM_IPM_CO_TOL_MU_RED                3165
#define QX_IPARAM_IPM_MAX_ITERATIONS               3166
#define QX_IPARAM_IPM_OFF_COL_TRH                  3167
#define QX_IPARAM_IPM_NUM_THREADS                  3168
#define QX_IPARAM_IPM_CHECK_CONVEXITY              3169

/* simplex internals */
#define QX_DPARAM_LP_MIN_FEASTOL                   4060
#define QX_DPARAM_LP_MAX_FEASTOL                   4061
#define QX_DPARAM_LP_MIN_OPTTOL                    4062
#define QX_DPARAM_LP_MAX_OPTTOL                    4063
#define QX_DPARAM_LP_MIN_PIVTOL                    4064
#define QX_DPARAM_LP_MAX_PIVTOL                    4065
#define QX_DPARAM_LP_AIJ_ZEROTOL                   4066
#define QX_DPARAM_LP_PIV_ZEROTOL                   4067
#define QX_DPARAM_LP_PIV_BIGTOL                    4068
#define QX_DPARAM_LP_BIGM                          4069
#define QX_DPARAM_LP_BNDINF                        4070
#define QX_DPARAM_LP_INFINITY                      4071
#define QX_IPARAM_LP_PPARTIAL                      4072
#define QX_IPARAM_LP_DPARTIAL                      4073
#define QX_IPARAM_LP_DRATIO                        4074
#define QX_IPARAM_LP_PRATIO                        4075
#define QX_IPARAM_LP_RATRANGE                      4076
#define QX_IPARAM_LP_DPSWITCH                      4077
#define QX_IPARAM_LP_PALLOC                        4078
#define QX_IPARAM_LP_PRTFG                         4079
#define QX_IPARAM_LP_OPRFREE                       4080
#define QX_IPARAM_LP_SPRINT_SUB                    4081
#define QX_IPARAM_LP_PERTMODE                      4082
#define QX_IPARAM_LP_PCOLAL_FACTOR                 4083
#define QX_IPARAM_LP_MAXMERGE                      4084
#define QX_DPARAM_LP_PERTFACT                      4085
#define QX_DPARAM_LP_DYNOBJFACT                    4086

/* LU factorisation */
#define QX_IPARAM_LU_NUM_CANDITS                   4800
#define QX_IPARAM_LU_MAX_UPDATES                   4801
#define QX_IPARAM_LU_PRINT_LEVEL                   4802
#define QX_IPARAM_LU_UPDATE_TYPE                   4803
#define QX_IPARAM_LU_USE_PIVCOL                    4804
#define QX_IPARAM_LU_PIVMOD                        4806
#define QX_DPARAM_LU_EPS_DIAG                      4900
#define QX_DPARAM_LU_EPS_NONZ                      4901
#define QX_DPARAM_LU_EPS_PIVABS                    4902
#define QX_DPARAM_LU_EPS_PIVREL                    4903
#define QX_DPARAM_LU_INI_RCOND                     4904
#define QX_DPARAM_LU_SPVTOL_UPDATE                 4905
#define QX_DPARAM_LU_SPVTOL_FTRAN                  4906
#define QX_DPARAM_LU_SPVTOL_BTRAN                  4907

/* mixed-integer solver */
#define QX_IPARAM_MIP_TIMLIM                       5300
#define QX_IPARAM_MIP_AOPTTIMLIM                   5301
#define QX_IPARAM_MIP_LSOLTIMLIM                   5302
#define QX_IPARAM_MIP_PRELEVEL                     5303
#define QX_IPARAM_MIP_NODESELRULE                  5304
#define QX_DPARAM_MIP_INTTOL                       5305
#define QX_DPARAM_MIP_RELINTTOL                    5306
#define QX_DPARAM_MIP_RELOPTTOL                    5307
#define QX_DPARAM_MIP_PEROPTTOL                    5308
#define QX_IPARAM_MIP_MAXCUTPASS_TOP               5309
#define QX_IPARAM_MIP_MAXCUTPASS_TREE              5310
#define QX_DPARAM_MIP_ADDCUTPER                    5311
#define QX_DPARAM_MIP_ADDCUTPER_TREE               5312
#define QX_IPARAM_MIP_MAXNONIMP_CUTPASS            5313
#define QX_IPARAM_MIP_CUTLEVEL_TOP                 5314
#define QX_IPARAM_MIP_CUTLEVEL_TREE                5315
#define QX_IPARAM_MIP_CUTTIMLIM                    5316
#define QX_IPARAM_MIP_CUTDEPTH                     5317
#define QX_IPARAM_MIP_CUTFREQ                      5318
#define QX_IPARAM_MIP_HEULEVEL                     5319
#define QX_IPARAM_MIP_PRINTLEVEL                   5320
#define QX_IPARAM_MIP_PREPRINTLEVEL                5321
#define QX_DPARAM_MIP_CUTOFFOBJ                    5322
#define QX_IPARAM_MIP_USECUTOFFOBJ                 5323
#define QX_IPARAM_MIP_STRONGBRANCHLEVEL            5324
#define QX_IPARAM_MIP_TREEREORDERLEVEL             5325
#define QX_IPARAM_MIP_BRANCHDIR                    5326
#define QX_IPARAM_MIP_TOPOPT                       5327
#define QX_IPARAM_MIP_REOPT                        5328
#define QX_IPARAM_MIP_SOLVERTYPE                   5329
#define QX_IPARAM_MIP_KEEPINMEM                    5330
#define QX_IPARAM_MIP_BRANCHRULE                   5331
#define QX_DPARAM_MIP_REDCOSTFIX_CUTOFF            5332
#define QX_DPARAM_MIP_ADDCUTOBJTOL                 5333
#define QX_IPARAM_MIP_HEUMINTIMLIM                 5334
#define QX_IPARAM_MIP_BRANCH_PRIO                  5335
#define QX_IPARAM_MIP_SCALING_BOUND                5336
#define QX_DPARAM_MIP_PSEUDOCOST_WEIGT             5337
#define QX_DPARAM_MIP_LBIGM                        5338
#define QX_DPARAM_MIP_DELTA                        5339
#define QX_IPARAM_MIP_DUAL_SOLUTION                5340
#define QX_IPARAM_MIP_BRANCH_LIMIT                 5341
#define QX_DPARAM_MIP_ITRLIM                       5342
#define QX_IPARAM_MIP_AGGCUTLIM_TOP                5343
#define QX_IPARAM_MIP_AGGCUTLIM_TREE               5344
#define QX_DPARAM_MIP_SWITCHFAC_SIM_IPM_ITER       5345
#define QX_IPARAM_MIP_ANODES_SWITCH_DF             5346
#define QX_DPARAM_MIP_ABSOPTTOL                    5347
#define QX_DPARAM_MIP_MINABSOBJSTEP                5348
#define QX_IPARAM_MIP_PSEUDOCOST_RULE              5349
#define QX_IPARAM_MIP_ENUM_HEUMODE                 5350
#define QX_IPARAM_MIP_PRELEVEL_TREE                5351
#define QX_DPARAM_MIP_REDCOSTFIX_CUTOFF_TREE       5352
#define QX_IPARAM_MIP_USE_INT_ZERO_TOL             5353
#define QX_IPARAM_MIP_USE_CUTS_HEU                 5354
#define QX_DPARAM_MIP_BIGM_FOR_INTTOL              5355
#define QX_IPARAM_MIP_STRONGBRANCHDONUM            5366
#define QX_IPARAM_MIP_MAKECUT_INACTIVE_COUNT       5367
#define QX_IPARAM_MIP_PRE_ELIM_FILL                5368
#define QX_IPARAM_MIP_HEU_MODE                     5369
#define QX_DPARAM_MIP_TIMLIM                       5370
#define QX_DPARAM_MIP_AOPTTIMLIM                   5371
#define QX_DPARAM_MIP_LSOLTIMLIM                   5372
#define QX_DPARAM_MIP_CUTTIMLIM                    5373
#define QX_DPARAM_MIP_HEUMINTIMLIM                 5374
#define QX_IPARAM_MIP_FP_MODE                      5375
#define QX_DPARAM_MIP_FP_WEIGHT                    5376
#define QX_IPARAM_MIP_FP_OPT_METHOD                5377
#define QX_DPARAM_MIP_FP_TIMLIM                    5378
#define QX_IPARAM_MIP_FP_ITRLIM                    5379
#define QX_IPARAM_MIP_FP_HEU_MODE                  5380
#define QX_DPARAM_MIP_OBJ_THRESHOLD                5381
#define QX_IPARAM_MIP_LOCALBRANCHNUM               5382
#define QX_DPARAM_MIP_SWITCHFAC_SIM_IPM_TIME       5383
#define QX_DPARAM_MIP_ITRLIM_SIM                   5384
#define QX_DPARAM_MIP_ITRLIM_NLP                   5385
#define QX_DPARAM_MIP_ITRLIM_IPM                   5386
#define QX_IPARAM_MIP_MAXNUM_MIP_SOL_STORAGE       5387
#define QX_IPARAM_MIP_CONCURRENT_TOPOPTMODE        5388
#define QX_IPARAM_MIP_CONCURRENT_REOPTMODE         5389
#define QX_IPARAM_MIP_PREHEU_LEVEL                 5390
#define QX_IPARAM_MIP_PREHEU_PRE_LEVEL             5391
#define QX_IPARAM_MIP_PREHEU_PRINT_LEVEL           5392
#define QX_IPARAM_MIP_PREHEU_TC_ITERLIM            5393
#define QX_IPARAM_MIP_PREHEU_DFE_VSTLIM            5394
#define QX_IPARAM_MIP_PREHEU_VAR_SEQ               5395
#define QX_IPARAM_MIP_USE_PARTIALSOL_LEVEL         5396
#define QX_IPARAM_MIP_GENERAL_MODE                 5397
#define QX_IPARAM_MIP_NUM_THREADS                  5398
#define QX_IPARAM_MIP_POLISH_NUM_BRANCH_NEXT       5399
#define QX_IPARAM_MIP_POLISH_MAX_BRANCH_COUNT      5400
#define QX_DPARAM_MIP_POLISH_ALPHA_TARGET          5401
#define QX_IPARAM_MIP_CONCURRENT_STRATEGY          5402
#define QX_DPARAM_MIP_BRANCH_TOP_VAL_DIFF_WEIGHT   5403
#define QX_IPARAM_MIP_BASCUTS_DONUM                5404
#define QX_IPARAM_MIP_PARA_SUB                     5405
#define QX_DPARAM_MIP_PARA_RND_ITRLMT              5406
#define QX_DPARAM_MIP_PARA_INIT_NODE               5407
#define QX_IPARAM_MIP_PARA_ITR_MODE                5408
#define QX_IPARAM_MIP_PARA_FP                      5409
#define QX_IPARAM_MIP_PARA_FP_MODE                 5410
#define QX_IPARAM_MIP_HEU_DROP_OBJ                 5411
#define QX_DPARAM_MIP_ABSCUTTOL                    5412
#define QX_IPARAM_MIP_PERSPECTIVE_REFORM           5413
#define QX_IPARAM_MIP_TREEREORDERMODE              5414
#define QX_IPARAM_MIP_XSOLVER                      5415
#define QX_IPARAM_MIP_BNB_TRY_BNP                  5416
#define QX_IPARAM_MIP_KBEST_USE_GOP                5417

/* global solver */
#define QX_DPARAM_GOP_RELOPTTOL                    6400
#define QX_DPARAM_GOP_FLTTOL                       6401
#define QX_DPARAM_GOP_BOXTOL                       6402
#define QX_DPARAM_GOP_WIDTOL                       6403
#define QX_DPARAM_GOP_DELTATOL                     6404
#define QX_DPARAM_GOP_BNDLIM                       6405
#define QX_IPARAM_GOP_TIMLIM                       6406
#define QX_IPARAM_GOP_OPTCHKMD                     6407
#define QX_IPARAM_GOP_BRANCHMD                     6408
#define QX_IPARAM_GOP_MAXWIDMD                     6409
#define QX_IPARAM_GOP_PRELEVEL                     6410
#define QX_IPARAM_GOP_POSTLEVEL                    6411
#define QX_IPARAM_GOP_BBSRCHMD                     6412
#define QX_IPARAM_GOP_DECOMPPTMD                   6413
#define QX_IPARAM_GOP_ALGREFORMMD                  6414
#define QX_IPARAM_GOP_RELBRNDMD                    6415
#define QX_IPARAM_GOP_PRINTLEVEL                   6416
#define QX_IPARAM_GOP_BNDLIM_MODE                  6417
#define QX_IPARAM_GOP_BRANCH_LIMIT                 6418
#define QX_IPARAM_GOP_CORELEVEL                    6419
#define QX_IPARAM_GOP_OPT_MODE                     6420
#define QX_IPARAM_GOP_HEU_MODE                     6421
#define QX_IPARAM_GOP_SUBOUT_MODE                  6422
#define QX_IPARAM_GOP_USE_NLPSOLVE                 6423
#define QX_IPARAM_GOP_LSOLBRANLIM                  6424
#define QX_IPARAM_GOP_LPSOPT                       6425
#define QX_DPARAM_GOP_TIMLIM                       6426
#define QX_DPARAM_GOP_BRANCH_LIMIT                 6427
#define QX_IPARAM_GOP_QUADMD                       6428
#define QX_IPARAM_GOP_LIM_MODE                     6429
#define QX_DPARAM_GOP_ITRLIM                       6430
#define QX_DPARAM_GOP_ITRLIM_SIM                   6431
#define QX_DPARAM_GOP_ITRLIM_IPM                   6432
#define QX_DPARAM_GOP_ITRLIM_NLP                   6433
#define QX_DPARAM_GOP_ABSOPTTOL                    6434
#define QX_DPARAM_GOP_PEROPTTOL                    6435
#define QX_DPARAM_GOP_AOPTTIMLIM                   6436
#define QX_IPARAM_GOP_LINEARZ                      6437
#define QX_IPARAM_GOP_NUM_THREADS                  6438
#define QX_IPARAM_GOP_MULTILINEAR                  6439
#define QX_DPARAM_GOP_OBJ_THRESHOLD                6440
#define QX_IPARAM_GOP_QUAD_METHOD                  6441

/* stochastic programming */
#define QX_IPARAM_STOC_NSAMPLE_SPAR                6600
#define QX_IPARAM_STOC_NSAMPLE_STAGE               6601
#define QX_IPARAM_STOC_RG_SEED                     6602
#define QX_IPARAM_STOC_METHOD                      6603
#define QX_IPARAM_STOC_REOPT                       6604
#define QX_IPARAM_STOC_TOPOPT                      6605
#define QX_IPARAM_STOC_ITER_LIM                    6606
#define QX_IPARAM_STOC_PRINT_LEVEL                 6607
#define QX_IPARAM_STOC_DETEQ_TYPE                  6608
#define QX_IPARAM_STOC_CALC_EVPI                   6609
#define QX_IPARAM_STOC_SAMP_CONT_ONLY              6611
#define QX_IPARAM_STOC_BUCKET_SIZE                 6612
#define QX_IPARAM_STOC_MAX_NUMSCENS                6613
#define QX_IPARAM_STOC_SHARE_BEGSTAGE              6614
#define QX_IPARAM_STOC_NODELP_PRELEVEL             6615
#define QX_DPARAM_STOC_TIME_LIM                    6616
#define QX_DPARAM_STOC_RELOPTTOL                   6617
#define QX_DPARAM_STOC_ABSOPTTOL                   6618
#define QX_IPARAM_STOC_DEBUG_MASK                  6619
#define QX_IPARAM_STOC_VARCONTROL_METHOD           6620
#define QX_IPARAM_STOC_CORRELATION_TYPE            6621
#define QX_IPARAM_STOC_WSBAS                       6622
#define QX_IPARAM_STOC_ALD_OUTER_ITER_LIM          6623
#define QX_IPARAM_STOC_ALD_INNER_ITER_LIM          6624
#define QX_DPARAM_STOC_ALD_DUAL_FEASTOL            6625
#define QX_DPARAM_STOC_ALD_PRIMAL_FEASTOL          6626
#define QX_DPARAM_STOC_ALD_DUAL_STEPLEN            6627
#define QX_DPARAM_STOC_ALD_PRIMAL_STEPLEN          6628
#define QX_IPARAM_CORE_ORDER_BY_STAGE              6629
#define QX_SPARAM_STOC_FMT_NODE_NAME               6630
#define QX_SPARAM_STOC_FMT_SCENARIO_NAME           6631
#define QX_IPARAM_STOC_MAP_MPI2LP                  6632
#define QX_IPARAM_STOC_AUTOAGGR                    6633
#define QX_IPARAM_STOC_BENCHMARK_SCEN              6634
#define QX_DPARAM_STOC_INFBND                      6635
#define QX_IPARAM_STOC_ADD_MPI                     6636
#define QX_IPARAM_STOC_ELIM_FXVAR                  6637
#define QX_DPARAM_STOC_SBD_OBJCUTVAL               6638
#define QX_IPARAM_STOC_SBD_OBJCUTFLAG              6639
#define QX_IPARAM_STOC_SBD_NUMCANDID               6640
#define QX_DPARAM_STOC_BIGM                        6641
#define QX_IPARAM_STOC_NAMEDATA_LEVEL              6642
#define QX_IPARAM_STOC_SBD_MAXCUTS                 6643
#define QX_IPARAM_STOC_DEQOPT                      6644
#define QX_IPARAM_STOC_DS_SUBFORM                  6645
#define QX_DPARAM_STOC_REL_PSTEPTOL                6646
#define QX_DPARAM_STOC_REL_DSTEPTOL                6647
#define QX_IPARAM_STOC_NUM_THREADS                 6648
#define QX_IPARAM_STOC_DETEQ_NBLOCKS               6649

/* sampling */
#define QX_IPARAM_SAMP_NCM_METHOD                  7701
#define QX_DPARAM_SAMP_NCM_CUTOBJ                  7702
#define QX_IPARAM_SAMP_NCM_DSTORAGE                7703
#define QX_DPARAM_SAMP_CDSINC                      7704
#define QX_IPARAM_SAMP_SCALE                       7705
#define QX_IPARAM_SAMP_NCM_ITERLIM                 7706
#define QX_DPARAM_SAMP_NCM_OPTTOL                  7707
#define QX_IPARAM_SAMP_NUM_THREADS                 7708
#define QX_IPARAM_SAMP_RG_BUFFER_SIZE              7709

/* block decomposition (branch and price) */
#define QX_DPARAM_BNP_INFBND                       8010
#define QX_IPARAM_BNP_LEVEL                        8011
#define QX_IPARAM_BNP_PRINT_LEVEL                  8012
#define QX_DPARAM_BNP_BOX_SIZE                     8013
#define QX_IPARAM_BNP_NUM_THREADS                  8014
#define QX_DPARAM_BNP_SUB_ITRLMT                   8015
#define QX_IPARAM_BNP_FIND_BLK                     8016
#define QX_IPARAM_BNP_PRELEVEL                     8017
#define QX_DPARAM_BNP_COL_LMT                      8018
#define QX_DPARAM_BNP_TIMLIM                       8019
#define QX_DPARAM_BNP_ITRLIM_SIM                   8020
#define QX_DPARAM_BNP_ITRLIM_IPM                   8021
#define QX_IPARAM_BNP_BRANCH_LIMIT                 8022
#define QX_DPARAM_BNP_ITRLIM                       8023

/* genetic algorithm */
#define QX_DPARAM_GA_CXOVER_PROB                   8501
#define QX_DPARAM_GA_XOVER_SPREAD                  8502
#define QX_DPARAM_GA_IXOVER_PROB                   8503
#define QX_DPARAM_GA_CMUTAT_PROB                   8504
#define QX_DPARAM_GA_MUTAT_SPREAD                  8505
#define QX_DPARAM_GA_IMUTAT_PROB                   8506
#define QX_DPARAM_GA_TOL_ZERO                      8507
#define QX_DPARAM_GA_TOL_PFEAS                     8508
#define QX_DPARAM_GA_INF                           8509
#define QX_DPARAM_GA_INFBND                        8510
#define QX_DPARAM_GA_BLXA                          8511
#define QX_DPARAM_GA_BLXB                          8512
#define QX_IPARAM_GA_CXOVER_METHOD                 8513
#define QX_IPARAM_GA_IXOVER_METHOD                 8514
#define QX_IPARAM_GA_CMUTAT_METHOD                 8515
#define QX_IPARAM_GA_IMUTAT_METHOD                 8516
#define QX_IPARAM_GA_SEED                          8517
#define QX_IPARAM_GA_NGEN                          8518
#define QX_IPARAM_GA_POPSIZE                       8519
#define QX_IPARAM_GA_FILEOUT                       8520
#define QX_IPARAM_GA_PRINTLEVEL                    8521
#define QX_IPARAM_GA_INJECT_OPT                    8522
#define QX_IPARAM_GA_NUM_THREADS                   8523
#define QX_IPARAM_GA_OBJDIR                        8524
#define QX_DPARAM_GA_OBJSTOP                       8525
#define QX_DPARAM_GA_MIGRATE_PROB                  8526
#define QX_IPARAM_GA_SSPACE                        8527

/* ======================================================================
 * Information items (QXgetInfo, QXgetCallbackInfo, QXgetMIPCallbackInfo)
 * ====================================================================== */
/* QX_IINFO_ items are ints, QX_DINFO_ doubles, QX_SINFO_ strings;
 * QXgetParamMacroID resolves these names too. The version items 990-993 and
 * QX_SINFO_PLATFORM are declared with QXgetInfo. */
#define QX_IINFO_NUM_CONS                    11010
#define QX_IINFO_NUM_VARS                    11011
#define QX_IINFO_NUM_NONZ                    11012
#define QX_IINFO_NUM_BIN                     11013
#define QX_IINFO_NUM_INT                     11014
#define QX_IINFO_NUM_CONT                    11015
#define QX_IINFO_NUM_QC_NONZ                 11016
/* Nonlinear counts. In an instruction list a variable enters a row
 * nonlinearly when some path from it to the row's value passes through more
 * than sums, differences, and products and quotients by constants. NLP_NONZ
 * counts such (constraint, variable) pairs, NLPOBJ_NONZ such objective
 * variables, NLP_CONS the nonlinear constraints, NLP_VARS the variables
 * entering some row nonlinearly. A matrix model counts the structure given
 * by QXaddNLPAj and QXaddNLPobj. */
#define QX_IINFO_NUM_NLP_NONZ                11017
#define QX_IINFO_NUM_NLPOBJ_NONZ             11018
/* Size of the LP the simplex solved in the last QXoptimize: rows, columns,
 * nonzeros and integer (binary or general) columns of the presolved model,
 * or of the model itself when presolve was off, skipped (warm start) or
 * changed nothing; all 0 when presolve settled the model as infeasible or
 * unbounded (or removed every row and column). Available once a solve has
 * run (2009 before). */
#define QX_IINFO_NUM_RDCONS                  11019
#define QX_IINFO_NUM_RDVARS                  11020
#define QX_IINFO_NUM_RDNONZ                  11021
#define QX_IINFO_NUM_RDINT                   11022
#define QX_IINFO_LEN_VARNAMES                11023
#define QX_IINFO_LEN_CONNAMES                11024
#define QX_IINFO_NUM_NLP_CONS                11025
#define QX_IINFO_NUM_NLP_VARS                11026
#define QX_IINFO_NUM_SUF_ROWS                11027
#define QX_IINFO_NUM_IIS_ROWS                11028
#define QX_IINFO_NUM_SUF_BNDS                11029
#define QX_IINFO_NUM_IIS_BNDS                11030
#define QX_IINFO_NUM_SUF_COLS                11031
#define QX_IINFO_NUM_IUS_COLS                11032
#define QX_IINFO_NUM_CONES                   11033
#define QX_IINFO_NUM_CONE_NONZ               11034
#define QX_IINFO_LEN_CONENAMES               11035
#define QX_DINFO_INST_VAL_MIN_COEF           11036
#define QX_IINFO_INST_VARNDX_MIN_COEF        11037
#define QX_IINFO_INST_CONNDX_MIN_COEF        11038
#define QX_DINFO_INST_VAL_MAX_COEF           11039
#define QX_IINFO_INST_VARNDX_MAX_COEF        11040
#define QX_IINFO_INST_CONNDX_MAX_COEF        11041
#define QX_IINFO_NUM_SPARS                   11059
#define QX_IINFO_METHOD                      11200
#define QX_DINFO_POBJ                        11201
#define QX_DINFO_DOBJ                        11202
#define QX_DINFO_PINFEAS                     11203
#define QX_DINFO_DINFEAS                     11204
#define QX_IINFO_MODEL_STATUS                11205
#define QX_IINFO_PRIMAL_STATUS               11206
#define QX_IINFO_DUAL_STATUS                 11207
#define QX_IINFO_BASIC_STATUS                11208
#define QX_IINFO_BAR_ITER                    11209
#define QX_IINFO_SIM_ITER                    11210
#define QX_IINFO_NLP_ITER                    11211
#define QX_IINFO_ELAPSED_TIME                11212
#define QX_DINFO_MSW_POBJ                    11213
#define QX_IINFO_MSW_PASS                    11214
#define QX_IINFO_MSW_NSOL                    11215
#define QX_IINFO_IPM_STATUS                  11216
#define QX_DINFO_IPM_POBJ                    11217
#define QX_DINFO_IPM_DOBJ                    11218
#define QX_DINFO_IPM_PINFEAS                 11219
#define QX_DINFO_IPM_DINFEAS                 11220
#define QX_IINFO_NLP_CALL_FUN                11221
#define QX_IINFO_NLP_CALL_DEV                11222
#define QX_IINFO_NLP_CALL_HES                11223
#define QX_IINFO_MIP_STATUS                  11300
#define QX_DINFO_MIP_OBJ                     11301
#define QX_DINFO_MIP_BESTBOUND               11302
#define QX_IINFO_MIP_SIM_ITER                11303
#define QX_IINFO_MIP_BAR_ITER                11304
#define QX_IINFO_MIP_NLP_ITER                11305
#define QX_IINFO_MIP_BRANCHCOUNT             11306
#define QX_IINFO_MIP_NEWIPSOL                11307
#define QX_IINFO_MIP_LPCOUNT                 11308
#define QX_IINFO_MIP_ACTIVENODES             11309
#define QX_IINFO_MIP_LTYPE                   11310
#define QX_IINFO_MIP_AOPTTIMETOSTOP          11311
#define QX_IINFO_MIP_NUM_TOTAL_CUTS          11312
#define QX_IINFO_MIP_GUB_COVER_CUTS          11313
#define QX_IINFO_MIP_FLOW_COVER_CUTS         11314
#define QX_IINFO_MIP_LIFT_CUTS               11315
#define QX_IINFO_MIP_PLAN_LOC_CUTS           11316
#define QX_IINFO_MIP_DISAGG_CUTS             11317
#define QX_IINFO_MIP_KNAPSUR_COVER_CUTS      11318
#define QX_IINFO_MIP_LATTICE_CUTS            11319
#define QX_IINFO_MIP_GOMORY_CUTS             11320
#define QX_IINFO_MIP_COEF_REDC_CUTS          11321
#define QX_IINFO_MIP_GCD_CUTS                11322
#define QX_IINFO_MIP_OBJ_CUT                 11323
#define QX_IINFO_MIP_BASIS_CUTS              11324
#define QX_IINFO_MIP_CARDGUB_CUTS            11325
#define QX_IINFO_MIP_CLIQUE_CUTS             11326
#define QX_IINFO_MIP_CONTRA_CUTS             11327
#define QX_IINFO_MIP_GUB_CONS                11328
#define QX_IINFO_MIP_GLB_CONS                11329
#define QX_IINFO_MIP_PLANTLOC_CONS           11330
#define QX_IINFO_MIP_DISAGG_CONS             11331
#define QX_IINFO_MIP_SB_CONS                 11332
#define QX_IINFO_MIP_IKNAP_CONS              11333
#define QX_IINFO_MIP_KNAP_CONS               11334
#define QX_IINFO_MIP_NLP_CONS                11335
#define QX_IINFO_MIP_CONT_CONS               11336
#define QX_DINFO_MIP_TOT_TIME                11347
#define QX_DINFO_MIP_OPT_TIME                11348
#define QX_DINFO_MIP_HEU_TIME                11349
#define QX_IINFO_MIP_SOLSTATUS_LAST_BRANCH   11350
#define QX_DINFO_MIP_SOLOBJVAL_LAST_BRANCH   11351
#define QX_IINFO_MIP_HEU_LEVEL               11352
#define QX_DINFO_MIP_PFEAS                   11353
#define QX_DINFO_MIP_INTPFEAS                11354
/* Threads the last integer run used, and each thread's share of its time as
 * a string of "%.0f%%|" fields after a leading "|" (at most 5 characters per
 * thread plus 2). */
#define QX_IINFO_MIP_THREADS                 11367
#define QX_SINFO_MIP_THREAD_LOAD             11368
#define QX_DINFO_GOP_OBJ                     11600
#define QX_IINFO_GOP_SIM_ITER                11601
#define QX_IINFO_GOP_BAR_ITER                11602
#define QX_IINFO_GOP_NLP_ITER                11603
#define QX_DINFO_GOP_BESTBOUND               11604
#define QX_IINFO_GOP_STATUS                  11605
#define QX_IINFO_GOP_LPCOUNT                 11606
#define QX_IINFO_GOP_NLPCOUNT                11607
#define QX_IINFO_GOP_MIPCOUNT                11608
#define QX_IINFO_GOP_NEWSOL                  11609
#define QX_IINFO_GOP_BOX                     11610
#define QX_IINFO_GOP_BBITER                  11611
#define QX_IINFO_GOP_SUBITER                 11612
#define QX_IINFO_GOP_MIPBRANCH               11613
#define QX_IINFO_GOP_ACTIVEBOXES             11614
#define QX_IINFO_GOP_TOT_TIME                11615
#define QX_IINFO_GOP_MAXDEPTH                11616
#define QX_DINFO_GOP_SIM_ITER                11619
#define QX_DINFO_GOP_BAR_ITER                11620
#define QX_DINFO_GOP_NLP_ITER                11621
#define QX_DINFO_GOP_LPCOUNT                 11622
#define QX_DINFO_GOP_NLPCOUNT                11623
#define QX_DINFO_GOP_MIPCOUNT                11624
#define QX_DINFO_GOP_BBITER                  11625
#define QX_DINFO_GOP_SUBITER                 11626
#define QX_DINFO_GOP_MIPBRANCH               11627
#define QX_DINFO_GOP_FIRST_TIME              11628
#define QX_DINFO_GOP_BEST_TIME               11629
#define QX_DINFO_SUB_OBJ                     11700
#define QX_DINFO_SUB_PINF                    11701
#define QX_DINFO_CUR_OBJ                     11702
#define QX_IINFO_CUR_ITER                    11703
#define QX_DINFO_CUR_BEST_BOUND              11704
#define QX_IINFO_CUR_STATUS                  11705
#define QX_IINFO_CUR_LP_COUNT                11706
#define QX_IINFO_CUR_BRANCH_COUNT            11707
#define QX_IINFO_CUR_ACTIVE_COUNT            11708
#define QX_IINFO_CUR_NLP_COUNT               11709
#define QX_IINFO_CUR_MIP_COUNT               11710
#define QX_IINFO_CUR_CUT_COUNT               11711
#define QX_DINFO_GEN_PERCENT                 11800
#define QX_IINFO_GEN_NONZ_TTL                11801
#define QX_IINFO_GEN_NONZ_NL                 11802
#define QX_IINFO_GEN_ROW_NL                  11803
#define QX_IINFO_GEN_VAR_NL                  11804
#define QX_IINFO_IIS_BAR_ITER                11850
#define QX_IINFO_IIS_SIM_ITER                11851
#define QX_IINFO_IIS_TOT_TIME                11856
#define QX_IINFO_IIS_ACT_NODE                11857
#define QX_IINFO_IIS_LPCOUNT                 11858
#define QX_IINFO_IIS_NLPCOUNT                11859
#define QX_IINFO_IIS_MIPCOUNT                11860
#define QX_IINFO_IUS_BAR_ITER                11875
#define QX_IINFO_IUS_SIM_ITER                11876
#define QX_IINFO_IUS_TOT_TIME                11881
#define QX_IINFO_IUS_ACT_NODE                11882
#define QX_IINFO_IUS_LPCOUNT                 11883
#define QX_IINFO_IUS_NLPCOUNT                11884
#define QX_IINFO_IUS_MIPCOUNT                11885
#define QX_IINFO_ERR_OPTIM                   11999
#define QX_IINFO_OBJSENSE                    1022
#define QX_DINFO_STOC_EVOBJ                  13201
#define QX_DINFO_STOC_EVPI                   13202
#define QX_DINFO_STOC_NUM_SCENARIOS          13221
#define QX_IINFO_STOC_NUM_STAGES             13222
#define QX_DINFO_STOC_NUM_COLS_DETEQI        13231
#define QX_DINFO_STOC_NUM_ROWS_DETEQI        13233

/* ----------------------------------------------------------------------
 * Option values that parameter defaults stand for
 * ---------------------------------------------------------------------- */
/* (QX_IPARAM_MPS_OBJ_WRITESTYLE takes the QX_MPS_USE_MAX_ values of the MPS
 * writer.) */
/* QX_IPARAM_MULTITHREAD_MODE: the library chooses. */
#define QX_MTMODE_FREE        (-1)
/* QX_IPARAM_IIS_METHOD: the default analysis method. */
#define QX_IIS_DEFAULT        0
/* QX_IPARAM_STOC_METHOD and QX_IPARAM_STOC_DETEQ_TYPE: the solver chooses. */
#define QX_METHOD_STOC_FREE   (-1)
#define QX_DETEQ_FREE         (-1)
/* QX_IPARAM_STOC_BENCHMARK_SCEN: the average scenario. */
#define QX_SCEN_AVRG          (-2)

/* ----------------------------------------------------------------------
 * Older spellings of parameter and information item names, kept so that
 * hosts written against them still compile (QXgetParamMacroID resolves
 * them as strings too).
 * ---------------------------------------------------------------------- */
#define QX_IPARAM_NLP_MSW_MAXREF                 QX_IPARAM_NLP_MSW_POPSIZE
#define QX_IPARAM_STOC_DEBUG_LEVEL               QX_IPARAM_STOC_DEBUG_MASK
#define QX_IPARAM_SPLEX_SCALE                    QX_IPARAM_LP_SCALE
#define QX_IPARAM_SPLEX_ITRLMT                   QX_IPARAM_LP_ITRLMT
#define QX_IPARAM_MIP_USE_ENUM_HEU               QX_IPARAM_MIP_ENUM_HEUMODE
#define QX_IPARAM_SOLVER_USE_CONCURRENT_OPT      QX_IPARAM_SOLVER_CONCURRENT_OPTMODE
#define QX_IPARAM_GOP_USEBNDLIM                  QX_IPARAM_GOP_BNDLIM_MODE
#define QX_IPARAM_ITRLMT                         QX_IPARAM_SPLEX_ITRLMT
#define QX_IPARAM_PRICING                        QX_IPARAM_SPLEX_PPRICING
#define QX_IPARAM_SCALE                          QX_IPARAM_SPLEX_SCALE
#define QX_IPARAM_TIMLMT                         QX_IPARAM_SOLVER_TIMLMT
#define QX_DPARAM_CUTOFFVAL                      QX_DPARAM_SOLVER_CUTOFFVAL
#define QX_IPARAM_RESTART                        QX_IPARAM_SOLVER_RESTART
#define QX_DPARAM_FEASTOL                        QX_DPARAM_SOLVER_FEASTOL
#define QX_IPARAM_IUSOL                          QX_IPARAM_SOLVER_IUSOL
#define QX_IPARAM_MIPTIMLIM                      QX_IPARAM_MIP_TIMLIM
#define QX_IPARAM_MIPAOPTTIMLIM                  QX_IPARAM_MIP_AOPTTIMLIM
#define QX_IPARAM_MIPPRELEVEL                    QX_IPARAM_MIP_PRELEVEL
#define QX_IPARAM_MIPNODESELRULE                 QX_IPARAM_MIP_NODESELRULE
#define QX_DPARAM_MIPINTTOL                      QX_DPARAM_MIP_INTTOL
#define QX_DPARAM_MIPRELINTTOL                   QX_DPARAM_MIP_RELINTTOL
#define QX_DPARAM_MIP_OPTTOL                     QX_DPARAM_MIP_RELOPTTOL
#define QX_DPARAM_MIPOPTTOL                      QX_DPARAM_MIP_OPTTOL
#define QX_DPARAM_MIPPEROPTTOL                   QX_DPARAM_MIP_PEROPTTOL
#define QX_IPARAM_MIPMAXCUTPASS                  QX_IPARAM_MIP_MAXCUTPASS_TOP
#define QX_DPARAM_MIPADDCUTPER                   QX_DPARAM_MIP_ADDCUTPER
#define QX_IPARAM_MIPCUTLEVEL                    QX_IPARAM_MIP_CUTLEVEL_TOP
#define QX_IPARAM_MIPHEULEVEL                    QX_IPARAM_MIP_HEULEVEL
#define QX_IPARAM_MIPPRINTLEVEL                  QX_IPARAM_MIP_PRINTLEVEL
#define QX_IPARAM_MIPPREPRINTLEVEL               QX_IPARAM_MIP_PREPRINTLEVEL
#define QX_DPARAM_MIPCUTOFFOBJ                   QX_DPARAM_MIP_CUTOFFOBJ
#define QX_IPARAM_MIPSTRONGBRANCHLEVEL           QX_IPARAM_MIP_STRONGBRANCHLEVEL
#define QX_IPARAM_MIPBRANCHDIR                   QX_IPARAM_MIP_BRANCHDIR
#define QX_IPARAM_MIPTOPOPT                      QX_IPARAM_MIP_TOPOPT
#define QX_IPARAM_MIPREOPT                       QX_IPARAM_MIP_REOPT
#define QX_IPARAM_MIPSOLVERTYPE                  QX_IPARAM_MIP_SOLVERTYPE
#define QX_IPARAM_MIPKEEPINMEM                   QX_IPARAM_MIP_KEEPINMEM
#define QX_DPARAM_MIP_REDCOSTFIXING_CUTOFF       QX_DPARAM_MIP_REDCOSTFIX_CUTOFF
#define QX_IPARAM_NLPPRINTLEVEL                  QX_IPARAM_NLP_PRINTLEVEL
#define QX_IPARAM_LPPRINTLEVEL                   QX_IPARAM_LP_PRINTLEVEL
#define QX_IPARAM_NLPSOLVER                      QX_IPARAM_NLP_SOLVER
#define QX_IPARAM_MODEL_CONVEX_FLAG              QX_IPARAM_NLP_CONVEX
#define QX_IPARAM_NLP_SOLVEASLP                  QX_IPARAM_NLP_SOLVE_AS_LP
#define QX_DINFO_MIPBESTBOUND                    QX_DINFO_MIP_BESTBOUND
#define QX_IINFO_MIPBRANCHCOUNT                  QX_IINFO_MIP_BRANCHCOUNT
#define QX_IINFO_MIPSTATUS                       QX_IINFO_MIP_STATUS
#define QX_IINFO_MIPNEWIPSOL                     QX_IINFO_MIP_NEWIPSOL
#define QX_IINFO_MIPLPCOUNT                      QX_IINFO_MIP_LPCOUNT
#define QX_IINFO_MIPACTIVENODES                  QX_IINFO_MIP_ACTIVENODES
#define QX_IINFO_MIPLTYPE                        QX_IINFO_MIP_LTYPE
#define QX_IINFO_MIPAOPTTIMETOSTOP               QX_IINFO_MIP_AOPTTIMETOSTOP
#define QX_DINFO_MIPOBJ                          QX_DINFO_MIP_OBJ
#define QX_IPARAM_BARRIER_PROB_TO_SOLVE          QX_IPARAM_PROB_TO_SOLVE
#define QX_IINFO_STATUS                          QX_IINFO_PRIMAL_STATUS
#define QX_IPARAM_STOC_SAMPLING_METHOD           QX_IPARAM_STOC_VARCONTROL_METHOD
#define QX_DPARAM_GOP_OPTTOL                     QX_DPARAM_GOP_RELOPTTOL
/* Earlier name of the parameter choosing the method of the stochastic
 * solvers (same numbers as the sampling methods QX_MONTECARLO...,
 * default QX_LATINSQUARE). */
#define QX_IPARAM_STOC_SAMPLING_METHOD QX_IPARAM_STOC_VARCONTROL_METHOD

#ifdef __cplusplus
}
#endif

#endif /* TORVA_H */
