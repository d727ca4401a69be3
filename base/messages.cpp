// The compiled-in error-message texts and the pool they are built into.
#include "base/messages.hpp"

#include <cstring>

#include "torva.h"

namespace torva {
namespace {

struct MessageEntry {
  int code;
  const char* text;
};

// Every code with a text, in registration order. Codes without an entry have
// no text (QXgetErrorMessage answers them with an empty message).
constexpr MessageEntry kMessages[] = {
    {QXERR_OUT_OF_MEMORY, "Could not allocate enough memory."},
    {QXERR_CANNOT_OPEN_FILE, "Could not open file for problem I/O."},
    {QXERR_BAD_MPS_FILE, "There is an error in the MPS file."},
    {QXERR_BAD_CONSTRAINT_TYPE, "An invalid constraint type was found."},
    {QXERR_BAD_MODEL, "Model data is inconsistent."},
    {QXERR_BAD_SOLVER_TYPE, "Specified solver type is not known."},
    {QXERR_BAD_OBJECTIVE_SENSE, "Specified objective sense is invalid."},
    {QXERR_BAD_MPI_FILE, "There is an error in the MPI file."},
    {QXERR_INFO_NOT_AVAILABLE, "Requested information is not available."},
    {QXERR_ILLEGAL_NULL_POINTER, "Illegal NULL pointer as argument."},
    {QXERR_UNABLE_TO_SET_PARAM, "Specified parameter cannot be set."},
    {QXERR_INDEX_OUT_OF_RANGE, "Specified index is out of range."},
    {QXERR_ERRMSG_FILE_NOT_FOUND, "Specified error-message file is not found."},
    {QXERR_VARIABLE_NOT_FOUND, "Specified variable is not found in the model."},
    {QXERR_INTERNAL_ERROR, "Internal error -- please contact TORVA Systems.."},
    {QXERR_ITER_LIMIT, "Iteration limit is reached before solving to completion."},
    {QXERR_TIME_LIMIT, "Time limit is reached before solving to completion."},
    {QXERR_NOT_CONVEX, "Specified model is not convex."},
    {QXERR_NUMERIC_INSTABILITY, "Solver stopped because of numerical instability."},
    {QXERR_STEP_TOO_SMALL, "Solver stopped because of no improvement in step size."},
    {QXERR_USER_INTERRUPT, "User interrupt."},
    {QXERR_PARAMETER_OUT_OF_RANGE, "Specified parameter is out of range."},
    {QXERR_ERROR_IN_INPUT, "Error in input."},
    {QXERR_NOT_SUPPORTED, "Specified feature is not yet supported or not compatible with the model type."},
    {QXERR_MODEL_ALREADY_LOADED, "Specified model is already loaded."},
    {QXERR_MODEL_NOT_LOADED, "Model data is not loaded."},
    {QXERR_INDEX_DUPLICATE, "Specified index has duplicates."},
    {QXERR_INSTRUCT_NOT_LOADED, "Instruction list is not loaded."},
    {QXERR_BRANCH_LIMIT, "Branch limit is reached in the Branch-and-Bound method."},
    {QXERR_GOP_FUNC_NOT_SUPPORTED, "Model contains unsupported function for global solver."},
    {QXERR_GOP_BRANCH_LIMIT, "Branch limit is reached in the global solver."},
    {QXERR_BAD_DECOMPOSITION_TYPE, "The specified decomposition type is invalid."},
    {QXERR_BASIS_BOUND_MISMATCH, "The specified value for basis status does not match to the  upper or lower bound the variable can attain."},
    {QXERR_BASIS_COL_STATUS, "The specified basis status for a column is invalid."},
    {QXERR_BASIS_INVALID, "The given basis is invalid."},
    {QXERR_BASIS_ROW_STATUS, "The specified basis status for  a constraint's slack//surplus is invalid."},
    {QXERR_BLOCK_OF_BLOCK, "The specified model is already a block of a decomposed model."},
    {QXERR_INPUT_OUT_OF_RANGE, "The input values fall out side allowed range."},
    {QXERR_COLBEG_INVALID, "The index vector that mark the beginning of structural columns in three (or four) vector representation of the underlying model is invalid."},
    {QXERR_COLUMN_INDEX_OUT_OF_RANGE, "The specified column index is out of range for the underlying model."},
    {QXERR_COLUMN_LENGTH_INVALID, "The number of nonzeroes in one or more columns specified is invalid or inconsistent with other input vectors."},
    {QXERR_BAD_ERROR_CODE, "The error code inquired about is invalid."},
    {QXERR_ROW_INDEX_OUT_OF_RANGE, "The specified row index is out of range for the underlying model."},
    {QXERR_TOTAL_NONZ_INVALID, "The total number of nonzeroes specified is invalid or inconsistent with other input."},
    {QXERR_MODEL_NOT_LINEAR, "Model is not linear."},
    {QXERR_USER_FUNCTION_NOT_SET, "A user-defined function has not been set yet."},
    {QXERR_BAD_STRING_OPERATION, "Illegal string operation."},
    {QXERR_STRINGS_ALREADY_LOADED, "String list is already loaded."},
    {QXERR_STRINGS_NOT_LOADED, "String list is not loaded."},
    {QXERR_INSTRUCT_BAD_COUNT, "Instruction list has incorrect numbers of elements."},
    {QXERR_INSTRUCT_TOO_SHORT, "Instruction list is too short."},
    {QXERR_INSTRUCT_BOUND_CONFLICT, "Instruction list has conflicting variable bounds."},
    {QXERR_INSTRUCT_SYNTAX, "Instruction list contains a syntax error."},
    {QXERR_COLUMN_TOKEN_NOT_FOUND, "Column token is not found."},
    {QXERR_ROW_TOKEN_NOT_FOUND, "Row token is not found."},
    {QXERR_NAME_TOKEN_NOT_FOUND, "NAME token is not found."},
    {QXERR_BAD_DECOMPOSITION_STRUCTURE, "The underlying decomposition structure is not compatible with the solver or the decomposition method used."},
    {QXERR_NO_MULTITHREAD_SUPPORT, "Selected method does not support multithreading."},
    {QXERR_INVALID_PARAMETER_ID, "The specified parameter identifier is invalid."},
    {QXERR_BAD_THREAD_COUNT, "The specified number of threads is invalid."},
    {QXERR_COLUMN_LIMIT, "Column limit is reached before solving to completion."},
    {QXERR_QC_DATA_NOT_LOADED, "Quadratic data not loaded."},
    {QXERR_QC_ROW_EMPTY, "Specified row does not have quadratic data."},
    {QXERR_XSOLVER_LOAD, "Error loading external solver library."},
    {QXERR_XSOLVER_NO_FILENAME, "External solver library file name not specified."},
    {QXERR_XSOLVER_ALREADY_LOADED, "External solver library already loaded."},
    {QXERR_XSOLVER_FUNC_NOT_INSTALLED, "External solver API function not installed."},
    {QXERR_XSOLVER_NOT_INSTALLED, "External solver API library not installed."},
    {QXERR_ZLIB_LOAD, "Error loading zlib library."},
    {QXERR_XSOLVER_ENV_NOT_CREATED, "External solver API environment cannot be created."},
    {QXERR_SOLPOOL_EMPTY, "LP solution pool is empty."},
    {QXERR_SOLPOOL_FULL, "LP solution pool is full."},
    {QXERR_LDL_ERROR, "Error in LDLt factorization."},
    {QXERR_LDL_EMPTY_COLUMN, "Empty column detected in LDLt factorization."},
    {QXERR_LDL_BAD_INPUT, "Matrix data is invalid or has bad input in LDLt factorization."},
    {QXERR_LDL_BAD_DIMENSION, "Invalid matrix or vector dimension."},
    {QXERR_LDL_EMPTY_MATRIX, "Matrix or vector is empty."},
    {QXERR_LDL_NOT_SYMMETRIC, "Matrix is not symmetric."},
    {QXERR_LDL_ZERO_DIAGONAL, "Matrix has zero diagonal."},
    {QXERR_LDL_BAD_PERMUTATION, "Invalid permutation."},
    {QXERR_LDL_DUPLICATES, "Duplicate elements detected in LDLt factorization."},
    {QXERR_LDL_RANK_DEFICIENT, "Detected rank deficiency in LDLt factorization."},
    {QXERR_STOC_CORE_MPS_ERROR, "Core MPS file/model has an error."},
    {QXERR_STOC_TIME_ERROR, "Time file/model has an error."},
    {QXERR_STOC_STOC_ERROR, "Stoc file/model has an error."},
    {QXERR_STOC_CORE_MPI_ERROR, "Core MPI file/model has an error."},
    {QXERR_STOC_STOC_MPI_ERROR, "Stoc file associated with Core MPI file has an error."},
    {QXERR_STOC_CORE_OPEN, "Unable to open Core file."},
    {QXERR_STOC_TIME_OPEN, "Unable to open Time file."},
    {QXERR_STOC_STOC_OPEN, "Unable to open Stoc file."},
    {QXERR_STOC_NOT_LOADED, "Stochastic model/data has not been loaded yet."},
    {QXERR_STOC_STOC_PARAM_NOT_FOUND, "Stochastic parameter specified in Stoc file has not been found."},
    {QXERR_STOC_TIME_PARAM_NOT_FOUND, "Stochastic parameter specified in Time file has not been found."},
    {QXERR_STOC_SCENARIO_SEQUENCE, "Specified scenario index is out of sequence."},
    {QXERR_STOC_ALREADY_LOADED, "Stochastic model/data has already been loaded."},
    {QXERR_STOC_SCENARIO_CDF, "Specified scenario CDF is invalid, e.g. scenario probabilities do not sum to 1.0."},
    {QXERR_STOC_NO_CORE_PARAMS, "No stochastic parameters were found in the Core file."},
    {QXERR_STOC_CORE_TIME_PARAM_COUNT, "Number of stochastic parameters found in Core file do notmatch to that of Time file."},
    {QXERR_STOC_PARAM_INDEX, "Specified stochastic parameter index is invalid."},
    {QXERR_STOC_TIME_UNEXPECTED_PARAM, "A stochastic parameter was not expected in Time file.."},
    {QXERR_STOC_TIME_STOC_PARAM_COUNT, "Number of stochastic parameters found in Time file do notmatch to that of Stoc file."},
    {QXERR_STOC_NO_OUTCOME_VALUE, "Specified stochastic parameter does not have a valid outcome value."},
    {QXERR_STOC_INFO_UNAVAILABLE, "Requested information is unavailable."},
    {QXERR_STOC_CORE_BOUND_NAME, "Core file does not have a valid bound name tag."},
    {QXERR_STOC_CORE_OBJ_NAME, "Core file does not have a valid objective name tag."},
    {QXERR_STOC_CORE_RHS_NAME, "Core file does not have a valid right-hand-side name tag."},
    {QXERR_STOC_CORE_RANGE_NAME, "Core file does not have a valid range name tag."},
    {QXERR_STOC_STOC_TOKEN, "Stoc file does not have an expected token name."},
    {QXERR_STOC_STOC_NO_ROOT, "Stoc file does not have a 'ROOT' token to specify a root scenario."},
    {QXERR_STOC_NODE_UNBOUNDED, "Node model is unbounded."},
    {QXERR_STOC_NODE_INFEASIBLE, "Node model is infeasible."},
    {QXERR_STOC_TOO_MANY_SCENARIOS, "Stochastic model has too many scenarios to solve with specified solver."},
    {QXERR_STOC_NODE_NUMERICS, "One or more node-models have irrecoverable numerical problems."},
    {QXERR_STOC_AGGREGATION, "Specified aggregation structure is not compatible with model's stage structure."},
    {QXERR_STOC_EVENT_TREE, "Event tree is either not initialized yet or was too big to create."},
    {QXERR_STOC_STAGE_INDEX, "Specified stage index is invalid."},
    {QXERR_STOC_BAD_ALGORITHM, "Specified algorithm/method is invalid or not supported."},
    {QXERR_STOC_CORE_STAGE_COUNT, "Specified number of stages in Core model is invalid."},
    {QXERR_STOC_TEMPORAL_ORDER, "Underlying model has an invalid temporal order."},
    {QXERR_STOC_TIME_STAGE_COUNT, "Number of stages specified in Time structure is invalid."},
    {QXERR_STOC_CORE_TIME_MISMATCH, "Core and Time data are inconsistent."},
    {QXERR_STOC_INVALID_CDF, "Specified stochastic structure has an invalid CDF."},
    {QXERR_STOC_BAD_DISTRIBUTION, "Specified distribution type is invalid or not supported."},
    {QXERR_STOC_SCALE_OUT_OF_RANGE, "Scale parameter for specified distribution is out of range."},
    {QXERR_STOC_SHAPE_OUT_OF_RANGE, "Shape parameter for specified distribution is out of range."},
    {QXERR_STOC_BAD_PROBABILITY, "Specified probabability value is invalid."},
    {QXERR_STOC_NO_DERIVATIVE, "Derivative information is unavailable."},
    {QXERR_STOC_BAD_STDDEV, "Specified standard deviation is invalid."},
    {QXERR_STOC_BAD_VALUE, "Specified value is invalid."},
    {QXERR_STOC_BAD_DISTR_PARAMS, "Specified parameters are invalid for the given distribution."},
    {QXERR_STOC_ROOT_ITER_LIMIT, "Iteration limit has been reached during a root finding operation."},
    {QXERR_STOC_ARRAY_OUT_OF_BOUNDS, "Given array is out of bounds."},
    {QXERR_STOC_NO_LIMITING_PDF, "Limiting PDF does not exist."},
    {QXERR_STOC_RG_NOT_SET, "A random number generator is not set."},
    {QXERR_STOC_DISTR_TRUNCATED, "Distribution function value was truncated during calculations."},
    {QXERR_STOC_MISSING_PARAM_VALUE, "Stoc file has a parameter value missing."},
    {QXERR_STOC_DISTR_PARAM_COUNT, "Distribution has invalid number of parameters."},
    {QXERR_STOC_CORE_NOT_TEMPORAL, "Core file/model is not in temporal order."},
    {QXERR_STOC_BAD_SAMPLE_SIZE, "Specified sample size is invalid."},
    {QXERR_STOC_NODE_PROB_CONTINUOUS, "Node probability cannot be computed due to presence of continuous stochastic parameters."},
    {QXERR_STOC_SCENARIO_LIMIT, "Event tree exceeds the maximum number of scenarios allowed to attempt an exact solution."},
    {QXERR_STOC_BAD_CORRELATION_TYPE, "Specified correlation type is invalid."},
    {QXERR_STOC_STAGES_NOT_SET, "Number of stages in the model is not set yet."},
    {QXERR_STOC_SAMPLED_TREE_EXISTS, "Model already contains a sampled tree."},
    {QXERR_STOC_EVENTS_NOT_LOADED, "Stochastic events are not loaded yet."},
    {QXERR_STOC_TREE_INITIALIZED, "Stochastic tree already initialized."},
    {QXERR_STOC_SEED_NOT_SET, "Random number generator seed not initialized."},
    {QXERR_STOC_SAMPLE_EXHAUSTED, "All sample points in the sample has been used. Resampling may be required."},
    {QXERR_STOC_SAMPLING_EXPLICIT, "Sampling is not supported for models with explicit scenarios."},
    {QXERR_STOC_SAMPLE_NOT_GENERATED, "Sample points are not yet generated for a stochastic parameter."},
    {QXERR_STOC_SAMPLE_GENERATED, "Sample points are already generated for a stochastic parameter."},
    {QXERR_STOC_SAMPLE_TOO_SMALL, "Sample sizes selected are too small."},
    {QXERR_STOC_RG_ALREADY_SET, "A random number generator is already set."},
    {QXERR_STOC_SAMPLING_JOINT, "Sampling is not allowed for random parameters which are part of block/joint distributions."},
    {QXERR_STOC_STAGE_NO_PARAMS, "No stochastic parameters were assigned to one of the stages."},
    {QXERR_STOC_STAGE_NO_ROWS, "No rows were assigned to one of the stages."},
    {QXERR_STOC_STAGE_NO_COLS, "No columns were assigned to one of the stages."},
    {QXERR_STOC_SAMPLE_SIZE_CONFLICT, "Default sample sizes per stoc.pars and stage are in conflict."},
    {QXERR_STOC_EMPTY_SCENARIO, "Empty scenario data."},
    {QXERR_STOC_NO_CORRELATION, "A correlation structure has not been induced yet."},
    {QXERR_STOC_NO_DISCRETE_TABLE, "A discrete PDF table has not been loaded."},
    {QXERR_STOC_NO_CONTINUOUS_PARAMS, "No continously distributed random parameters are found."},
    {QXERR_STOC_CHANCE_ROW_TAKEN, "One or more rows already belong to another chance constraint."},
    {QXERR_STOC_NO_CHANCE_CONS, " No chance-constraints were loaded."},
    {QXERR_STOC_CUT_LIMIT, " Cut limit has been reached."},
    {QXERR_STOC_GA_NOT_INIT, " GA instance has not been initialized yet."},
    {QXERR_STOC_CHANCE_ROWS_UNASSIGNED, " There exists stochastic rows not loaded to any chance constraints yet."},
    {QXERR_STOC_SAMPLE_SOURCE_ASSIGNED, " Specified sample is already assigned as the source for the target sample."},
    {QXERR_STOC_USER_DISTR_NOT_SET, " No user-defined distribution function has been set for the specified sample."},
    {QXERR_STOC_SAMPLE_CALL_UNSUPPORTED, " Specified sample does not support the function call or it is incompatible with the argument list."},
    {QXERR_STOC_INSTR_MULTIPLE, " Mapping stochastic instructions leads to multiple occurrences in matrix model."},
    {QXERR_STOC_INSTR_SAME_POSITION, " Two or more stochastic instructions maps to the same position in matrix model."},
    {QXERR_STOC_OBJ_STOC_PARAM, " A stochastic parameter was not expected in the objective function."},
    {QXERR_STOC_DISTR_PARAM_NOT_SET, " One of the distribution parameters of the specified sample was not set."},
    {QXERR_STOC_BAD_STOC_INPUT, " Specified stochastic input is invalid."},
    {QXERR_MPS_MISSING_ROWS, "Missing ROWS tag in the MPS file."},
    {QXERR_MPS_MISSING_COLUMNS, "Missing COLUMNS tag in the MPS file."},
    {QXERR_MPS_MISSING_RHS, "Missing RHS tag in the MPS file."},
    {QXERR_MPS_MISSING_ENDATA, "Missing ENDATA tag in the MPS file."},
    {QXERR_MPS_ROW_MISSING_VALUE, "Missing value in the ROW section of the MPS file."},
    {QXERR_MPS_ROW_EXTRA_VALUE, "Extra value in the ROW section of the MPS file."},
    {QXERR_MPS_COL_MISSING_VALUE, "Missing value in the COLUMNS section of the MPS file."},
    {QXERR_MPS_COL_EXTRA_VALUE, "Extra value in the COLUNMS section of the MPS file."},
    {QXERR_MPS_RHS_MISSING_VALUE, "Missing value in the RHS section of the MPS file."},
    {QXERR_MPS_RHS_EXTRA_VALUE, "Extra value in the RHS section of the MPS file."},
    {QXERR_MPS_BND_MISSING_VALUE, "Missing value in the BOUNDS section of the MPS file."},
    {QXERR_MPS_BND_EXTRA_VALUE, "Extra value in the BOUNDS section of the MPS file."},
    {QXERR_MPS_INTEGER_VARS, "Integer variables in the MPS file."},
    {QXERR_MPS_BINARY_VARS, "Binary variables in the MPS file."},
    {QXERR_MPS_SEMICONT_VARS, "Semi continuous variables in the MPS file."},
    {QXERR_MPS_BND_UNKNOWN_TAG, "Unknown tag in the BOUNDS section of the MPS file."},
    {QXERR_MPS_MULTIPLE_OBJ, "Multiple objective funtion rows in the ROWS section of the MPS file."},
    {QXERR_SUBPROBLEM_FAILED, "Could not solve the current sub-problem."},
    {QXERR_BINSOL_WRITE, "Could not write to binary solution file."},
    {QXERR_BINSOL_READ, "Could not read from binary solution file."},
    {QXERR_BINSOL_EOF, "Trying to read past the end of file."},
};

}  // namespace

int MessageTable::append(int code, const char* text) noexcept {
  const std::size_t len = std::strlen(text);
  if (used_ + len + 2 >= capacity_) {
    const std::size_t newCap = used_ + len + 1 + kGrowStep;
    std::unique_ptr<char[]> grown(new (std::nothrow) char[newCap]);
    if (!grown) return QXERR_OUT_OF_MEMORY;
    if (used_ > 0) std::memcpy(grown.get(), pool_.get(), used_);
    pool_ = std::move(grown);
    capacity_ = newCap;
  }
  index_[code] = static_cast<int>(used_);
  std::memcpy(pool_.get() + used_, text, len + 1);
  used_ += len + 1;
  return 0;
}

int MessageTable::build() noexcept {
  index_.reset(new (std::nothrow) int[kIndexSize]);
  if (!index_) return QXERR_OUT_OF_MEMORY;
  for (int i = 0; i < kIndexSize; ++i) index_[i] = -1;
  pool_.reset(new (std::nothrow) char[kGrowStep]);
  if (!pool_) return QXERR_OUT_OF_MEMORY;
  capacity_ = kGrowStep;
  used_ = 0;
  for (const MessageEntry& e : kMessages) {
    if (int rc = append(e.code, e.text)) return rc;
  }
  // Give back the unused tail of the pool.
  if (capacity_ - 1 > used_) {
    std::unique_ptr<char[]> shrunk(new (std::nothrow) char[used_ + 1]);
    if (shrunk) {
      std::memcpy(shrunk.get(), pool_.get(), used_);
      shrunk[used_] = '\0';
      pool_ = std::move(shrunk);
      capacity_ = used_ + 1;
    }
  }
  return 0;
}

const char* MessageTable::text(int code) const noexcept {
  if (!index_ || code < 0 || code >= kIndexSize || index_[code] < 0) return nullptr;
  return pool_.get() + index_[code];
}

}  // namespace torva
