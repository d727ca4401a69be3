// Descriptions of every parameter and the documentation tables built from
// them. The long description of a row is its text here followed by lines
// generated from the registry (range, default, level), so that the stated
// range and default can never disagree with the values in force.
#include "base/param_docs.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/param_access.hpp"
#include "torva.h"
#include "base/param_table.hpp"

namespace torva {
namespace {

struct ParamText {
  int id;
  const char* shortDesc;
  const char* meaning;
};

// One entry per parameter, in identifier order.
constexpr ParamText kParamTexts[] = {
    // ---- library version ----
    {990, "Library major version",
     "Major version number of the library. Read only."},
    {991, "Library minor version",
     "Minor version number of the library. Read only."},
    {992, "Library build number",
     "Build number of the library. Read only."},
    {993, "Library revision number",
     "Revision number of the library. Read only."},
    {999, "Library version number",
     "Version of the library as one number, 100 times the major version\n"
     "plus the minor version. Read only."},

    // ---- general ----
    {1022, "Option MODEL objective sense",
     "Objective sense of the model: 1 (QX_MIN) minimises, -1 (QX_MAX)\n"
     "maximises. Any other value is refused with error 2007. Changing the\n"
     "sense discards the model's solutions and solver work areas."},
    {1023, "Callback frequency in seconds",
     "Time in seconds between two calls of the progress callback while a\n"
     "solver runs. A negative value disables the timed calls; forced calls\n"
     "at the end of a solve still happen."},
    {1024, "Objective multiplier for printing",
     "Factor applied to objective values when they are printed in logs and\n"
     "reports. It does not change the model or the stored solution."},
    {1025, "Input error checking level",
     "Amount of checking applied to data handed to load and modify\n"
     "functions. 0 checks what would corrupt the model, higher values check\n"
     "more thoroughly, -1 skips the optional checks."},
    {1026, "Allow control-break interrupts",
     "1 lets the host interrupt a running solver through its progress\n"
     "callback or a break request, 0 ignores such requests. Parallel runs\n"
     "keep it on only for their first copy."},
    {1027, "Decomposition type",
     "How the optimiser looks for block structure in a model before\n"
     "solving. 0 none, 1 the solver decides, 2 split into independent\n"
     "blocks solved one by one (forces multithread mode 2), 3 dual angular\n"
     "structure, 4 primal angular structure."},
    {1029, "LP scaling method",
     "Scaling applied to the constraint matrix before the simplex runs.\n"
     "-1 the solver decides, 0 no scaling, 1 geometric mean scaling,\n"
     "2 equilibration, 3 geometric mean followed by equilibration.\n"
     "The setter also accepts -1, outside the reported range."},
    {1030, "Simplex iteration limit",
     "Maximum number of simplex iterations in one optimiser call. -1 and\n"
     "2147483647 mean no limit. A solve stopped by the limit returns\n"
     "error 2016 and leaves the model loaded."},
    {1031, "Primal simplex pricing rule",
     "Pricing rule of the primal simplex. -1 the solver decides (devex or\n"
     "partial pricing depending on the method switch setting), 0 partial\n"
     "pricing, 1 devex, 2 and 3 alternative partial schemes."},
    {1032, "Basis refactorisation frequency",
     "Number of basis updates after which the simplex refactorises the\n"
     "basis from scratch. The simplex never goes below 50 on its own;\n"
     "1 refactorises at every pivot."},
    {1033, "Barrier solver selection",
     "Interior-point engine used for QX_METHOD_BARRIER: 4 the solver\n"
     "decides, 5 to 7 select alternative engines of the installed\n"
     "interior-point library."},
    {1034, "Solve the primal or the dual",
     "Which form of a linear model the optimiser solves. 0 decides from the\n"
     "model's shape (only models with more than 2500 rows are considered\n"
     "for the dual), 1 always the primal, 2 the explicit dual unless the\n"
     "barrier method is used."},
    {1035, "LP print level",
     "Amount of output of the LP optimiser and simplex. 0 silent, 1 progress\n"
     "lines and the solution statistics, higher values add detail."},
    {1036, "MPS objective style for maximisation",
     "How a maximisation model is written to an MPS file: 0 adds a note,\n"
     "1 writes an OBJSENSE card, 2 flips the objective so that the file\n"
     "describes an equivalent minimisation."},
    {1037, "Dual simplex pricing rule",
     "Pricing rule of the dual simplex. -1, 1 and 2 use the default dual\n"
     "pricing, 0 Dantzig partial pricing, 3 dual devex, 4 approximate dual\n"
     "devex, 5 an alternative steepest-edge variant."},
    {1038, "Solution report style",
     "Layout of the solution report written by QXwriteSolution: 0 the full\n"
     "report, 1 the compact form, 2 the full report with the ranges\n"
     "sections. Other values make the report fail."},
    {1039, "Instruction-list load type",
     "How a model given as an instruction list is stored: 0 as loaded,\n"
     "1 kept as an instruction list when the model is copied,\n"
     "2 linear parts extracted into the matrix where possible."},
    {1040, "Dual simplex phase strategy",
     "Phase strategy of the dual simplex: 0 the solver decides, 1 and 2\n"
     "two-phase variants, 3 single phase with artificial bounds\n"
     "(QX_DPARAM_LP_BNDINF)."},
    {1041, "LP presolve level",
     "Bit mask of LP presolve reductions (default 126). 0 or bit 8192:\n"
     "off. 2 empty, free and singleton rows (singletons become bounds);\n"
     "4 empty and fixed columns; 8 infeasible, forcing and redundant rows\n"
     "from activity bounds (also implied through chains of rows) and\n"
     "parallel rows; 16 column singletons (free and implied-free ones\n"
     "substituted out, one binding bound makes the equation an\n"
     "inequality); 32 dominated and weakly dominated columns and parallel\n"
     "columns; 64 doubleton equations and implied-free columns of longer\n"
     "equations substituted out. Shared families: singletons 2 (rows) and\n"
     "16 (columns), parallel 8 (rows) and 32 (columns), substitution 16\n"
     "and 64. Passes repeat while one removes at least 0.1% of the model.\n"
     "Warm starts (resident basis, a given basis, QXloadBasis) skip\n"
     "presolve. The reduced-model writer applies only bits 2 and 4 to a\n"
     "model with integers, none to semi-continuous, set, quadratic, conic\n"
     "or nonlinear models."},
    {1042, "Name length limit",
     "Maximum length of variable and constraint names written to and read\n"
     "from model files, in characters."},
    {1043, "Keep name data",
     "1 keeps the names of variables and constraints with the model, 0\n"
     "discards them on load to save memory (models then use generated\n"
     "names in files and reports)."},
    {1044, "External simplex or MIP library",
     "Routes solves to an installed external library: 0 none, 1 and 2\n"
     "external simplex, 4 external simplex and integer solver. Without an\n"
     "installed library the setting has no effect."},
    {1045, "Simplex iteration limit (double)",
     "Maximum number of simplex iterations, as a double for limits beyond\n"
     "the int range. -1 means no limit; when both this and\n"
     "QX_IPARAM_LP_ITRLMT are set the smaller limit applies."},
    {1046, "Model copy mode",
     "Bit mask read by QXcopyModel: 0 (QX_RAW_COPY) copies the data as\n"
     "loaded, 1 (QX_DEEP_COPY) also copies nonlinear data in full,\n"
     "2 (QX_TIME_COPY), 4 (QX_STOC_COPY) and 8 (QX_SNGSTG_COPY) add stage\n"
     "and stochastic data. Bit 1024 selects the grammar-driven reader for\n"
     "TORVA text files."},
    {1047, "Threads of the block decomposition solver",
     "Number of threads used when independent blocks of a decomposed model\n"
     "are solved in parallel."},
    {1048, "Number of threads",
     "Number of threads the optimisers may use. 0 and 1 run serially;\n"
     "larger values allow concurrent and parallel methods according to\n"
     "QX_IPARAM_MULTITHREAD_MODE."},
    {1049, "Multithread mode",
     "How several threads are used: -1 the solver decides, 0 none,\n"
     "1 parallel where possible, 2 only the barrier runs threaded,\n"
     "3 concurrent methods allowed, 4 concurrent methods only."},
    {1050, "Find block structure",
     "Whether the optimiser searches the model for block structure to\n"
     "exploit: 0 no, 1 yes, 2 yes and report what was found."},
    {1051, "Profiler level",
     "Bit mask of internal timing and profiling records kept during a\n"
     "solve. 0 keeps none; bit 256 profiles the basis factorisation."},
    {1052, "Instruction-list read mode",
     "How instruction lists are read from MPI files: 0 strictly as\n"
     "written, 1 with simplifications of constant subexpressions,\n"
     "2 with simplifications and reordering."},
    {1053, "Instruction-list substitution",
     "Substitution of defined variables out of instruction lists: -1 the\n"
     "solver decides, 0 never, 1 always."},
    {1054, "Solution pool capacity",
     "Maximum number of solutions kept in the LP solution pool."},

    // ---- LP solver ----
    {1251, "Report infeasible or unbounded solutions",
     "1 asks the optimiser to return a definite answer and a solution\n"
     "point when a model is infeasible or unbounded; 0 accepts the status\n"
     "found by presolve without a solution."},
    {1252, "LP time limit in seconds",
     "Time limit of one optimiser call in whole seconds. -1 means no\n"
     "limit. A solve stopped by the limit returns error 2017."},
    {1253, "Objective cutoff value",
     "Objective value beyond which the simplex may stop with status\n"
     "cutoff, when QX_IPARAM_SOLVER_USECUTOFFVAL allows it."},
    {1254, "Primal feasibility tolerance",
     "Largest violation of a bound or constraint that the simplex accepts\n"
     "as feasible. Values below 1e-16 are refused; values above the\n"
     "reported maximum are stored. While a simplex work area exists the\n"
     "tolerance it uses is clamped into [1e-11, 1e-4]."},
    {1255, "Cold or warm start",
     "0 reuses the basis left by the previous solve (warm start), 1 starts\n"
     "from scratch (cold start) and rebuilds the simplex work area."},
    {1256, "Barrier solution without crossover",
     "1 returns the interior-point solution of the barrier method as it\n"
     "is; 0 runs a crossover to a basic solution."},
    {1257, "Dual feasibility (optimality) tolerance",
     "Largest reduced-cost violation the simplex accepts as optimal.\n"
     "Values below 1e-16 are refused."},
    {1258, "Use the objective cutoff",
     "1 lets the simplex stop as soon as the objective cannot beat\n"
     "QX_DPARAM_SOLVER_CUTOFFVAL, 0 ignores the cutoff."},
    {1259, "LP presolve elimination fill limit",
     "Largest fill-in that an elimination of the LP presolve may cause."},
    {1260, "LP time limit in seconds (double)",
     "Time limit of one optimiser call in seconds, fractional values\n"
     "allowed. -1 means no limit."},
    {1261, "Concurrent optimisation mode",
     "Use of concurrent methods in one optimiser call: 0 off, 1 the\n"
     "primal and dual simplex race, 2 the simplex methods and the barrier\n"
     "race."},
    {1262, "Feasibility tolerance for perturbations",
     "Feasibility tolerance applied while the simplex runs on a perturbed\n"
     "problem. Values below 1e-16 are refused."},
    {1263, "Partial solution level",
     "How a partial initial solution given by the host is used by the LP\n"
     "optimiser: 0 ignored, 1 used to build a starting basis, 2 also used\n"
     "to fix the given values in a first pass."},
    {1264, "Solver mode bits",
     "Bit mask of simplex strategy switches. Bit 1 selects the simple\n"
     "partial pricer; bit 4 carries the objective as an extra row."},

    // ---- infeasibility and unboundedness analysis ----
    {1550, "IIS analysis level",
     "Bit mask selecting what the irreducible infeasible set analysis\n"
     "examines: 1 constraints, 2 variable bounds, 4 integrality."},
    {1551, "IUS analysis level",
     "Bit mask selecting what the irreducible unbounded set analysis\n"
     "examines: 1 the default search, 2 a more thorough search."},
    {1552, "IIS method for cold starts",
     "Optimisation method (QX_METHOD_*) used by the infeasibility analysis\n"
     "for subproblems solved without a basis."},
    {1553, "IIS method for warm starts",
     "Optimisation method (QX_METHOD_*) used by the infeasibility analysis\n"
     "for subproblems reoptimised from a basis."},
    {1554, "IIS sensitivity filter",
     "1 applies the sensitivity filter, which discards constraints that\n"
     "cannot belong to the infeasible set, before the deletion filter."},
    {1555, "IIS print level",
     "Amount of output of the infeasibility and unboundedness analysis.\n"
     "0 silent, higher values print more."},
    {1556, "IIS infeasibility norm",
     "Norm of the infeasibility measured by the analysis: 0 the solver\n"
     "decides, 1 the sum of infeasibilities, 2 the largest infeasibility."},
    {1557, "IIS iteration limit",
     "Iteration limit of the analysis. -1 means no limit."},
    {1558, "IIS iteration limit (double)",
     "Iteration limit of the analysis as a double. -1 means no limit."},
    {1559, "IIS time limit in seconds",
     "Time limit of the analysis. -1 means no limit."},
    {1560, "IIS search method",
     "Search method of the analysis: 0 the default (deletion filter),\n"
     "1 deletion, 2 additive, 3 additive then deletion, 4 elastic,\n"
     "5 elastic then deletion, 6 and 7 further filter combinations."},
    {1561, "IIS elastic filter",
     "1 applies the elastic filter before the deletion filter."},
    {1562, "IIS with the global solver",
     "1 uses the global solver for nonlinear subproblems of the analysis,\n"
     "0 a local solver."},
    {1563, "IIS threads (reserved)",
     "Number of threads of the analysis. Reserved: setting it is refused\n"
     "with error 2029."},
    {1564, "IIS result mode",
     "What the analysis returns: 0 the irreducible set, 1 also the\n"
     "sufficient set found on the way."},
    {1590, "SQL-compatible output",
     "1 formats names and numbers in reports so that they can be loaded\n"
     "into a database, 0 uses the plain report format."},

    // ---- nonlinear solver and multistart ----
    {2500, "Solve NLP as LP",
     "1 treats a model with nonlinear, quadratic or cone data as linear,\n"
     "ignoring the nonlinear parts; 0 solves it as given."},
    {2501, "Nonlinear solver",
     "Solver for nonlinear models: 4 the solver decides, 5 the local\n"
     "reduced-gradient solver, 6 not available, 7 the multistart local\n"
     "solver, 8 sequential linear programming, 9 the global solver,\n"
     "10 the external IPOPT library.\n"
     "Values the optimiser cannot serve make it fail with error 2006."},
    {2502, "Method of LP subproblems in the NLP solver",
     "Optimisation method (QX_METHOD_*) of the linear subproblems solved\n"
     "inside the nonlinear solver."},
    {2503, "NLP print level",
     "Amount of output of the nonlinear solver. 0 silent, 1 a summary,\n"
     "higher values print iterations."},
    {2504, "Finite-difference step",
     "Step length h of the finite-difference derivatives, relative to the\n"
     "variable's magnitude. Must be positive."},
    {2505, "Finite-difference type",
     "Difference formula for numerical derivatives: 0 the solver decides,\n"
     "1 forward, 2 backward, 3 central differences."},
    {2506, "NLP feasibility tolerance",
     "Largest constraint violation that the nonlinear solver accepts as\n"
     "feasible."},
    {2507, "NLP reduced gradient tolerance",
     "Largest reduced gradient the nonlinear solver accepts at a local\n"
     "optimum."},
    {2508, "NLP crash procedure",
     "1 runs a crash procedure to find a starting point before the\n"
     "nonlinear solver, 0 starts from the given point."},
    {2509, "NLP steepest edge",
     "1 uses steepest-edge pricing in the nonlinear solver's linear\n"
     "phases, 0 the default pricing."},
    {2510, "NLP with SLP steps",
     "1 lets the nonlinear solver take sequential linear programming steps\n"
     "when they promise progress, 0 never."},
    {2511, "NLP selective constraint evaluation",
     "1 evaluates only the constraints needed at each step, 0 evaluates\n"
     "all of them every time."},
    {2512, "NLP presolve level",
     "Bit mask of presolve techniques applied to nonlinear models. 0 no\n"
     "presolve; a numerical failure without presolve is retried with 126."},
    {2513, "NLP iteration limit",
     "Maximum number of iterations of the nonlinear solver. -1 and\n"
     "2147483647 mean no limit."},
    {2514, "NLP linearisation",
     "Linearisation of nonlinear functions that allow it: 0 the solver\n"
     "decides, 1 none, 2 linearise where exact, 3 linearise all it can."},
    {2515, "NLP linearity of the model",
     "Set by the loaders: 1 when the loaded instruction list turned out to\n"
     "be linear, 0 otherwise."},
    {2516, "NLP starting point",
     "1 starts the nonlinear solver from the point given by the host (or\n"
     "the bounds), 0 lets it choose."},
    {2517, "NLP convex relaxation",
     "1 solves a convex relaxation of the nonlinear model instead of the\n"
     "model itself, 0 solves the model."},
    {2518, "Algebraic reformulation for relaxations",
     "1 reformulates the model algebraically before building a convex\n"
     "relaxation, 0 uses it as given."},
    {2519, "Quadratic structure check",
     "1 checks instruction lists for quadratic structure and hands such\n"
     "models to the quadratic solvers, 0 skips the check."},
    {2520, "Automatic differentiation",
     "Derivatives of instruction-list models: 0 finite differences,\n"
     "1 forward automatic differentiation, 2 reverse automatic\n"
     "differentiation."},
    {2521, "Multistart local searches",
     "Maximum number of local searches of the multistart solver."},
    {2522, "Model is convex",
     "1 declares the model convex so that a local optimum is reported as\n"
     "global, 0 makes no such claim."},
    {2523, "CONOPT version",
     "Version of the CONOPT library used as local nonlinear solver (3 or\n"
     "4)."},
    {2524, "NLP internal crash",
     "1 uses the library's own crash procedure instead of the local\n"
     "solver's, 0 the local solver's."},
    {2525, "NLP stall iteration limit",
     "Iterations without progress after which the nonlinear solver stops.\n"
     "-1 means no limit."},
    {2526, "Second-order automatic differentiation",
     "Second derivatives for the external nonlinear engines: 0 none,\n"
     "1, 2 or 3 select the automatic differentiation mode."},
    {2527, "NLP feasibility check",
     "Check of the final point of the nonlinear solver: 0 none, 1 check\n"
     "feasibility, 2 check feasibility and optimality conditions."},
    {2528, "NLP iteration limit (double)",
     "Maximum number of iterations of the nonlinear solver, as a double.\n"
     "-1 means no limit."},
    {2529, "NLP superbasic limit",
     "Maximum number of superbasic variables of the nonlinear solver. -1\n"
     "and 2147483647 mean no limit."},
    {2530, "Multistart solution index",
     "Index of the multistart solution that is installed as the model's\n"
     "solution; 0 is the best."},
    {2531, "NLP iterations per log line",
     "Number of nonlinear solver iterations between two log lines."},
    {2532, "NLP retry limit",
     "Maximum number of restarts the nonlinear solver makes after a\n"
     "numerical failure."},
    {2533, "Multistart distance norm",
     "Norm used by the multistart solver to compare points: 1 the sum of\n"
     "absolute values, 2 Euclidean, -1 the largest absolute value."},
    {2534, "Multistart population size",
     "Number of candidate points generated per multistart pass. -1 the\n"
     "solver decides."},
    {2535, "Multistart population limit",
     "Maximum total number of candidate points. -1 the solver decides."},
    {2536, "Multistart passes without improvement",
     "Passes without a better solution after which the multistart solver\n"
     "stops. -1 the solver decides."},
    {2537, "Multistart filter mode",
     "Bit mask of filters that discard candidate points before a local\n"
     "search. -1 the solver decides."},
    {2538, "Multistart merit distance threshold",
     "Candidate points closer than this (in the penalty merit function)\n"
     "to a searched point are skipped."},
    {2539, "Multistart Euclidean distance threshold",
     "Candidate points closer than this Euclidean distance to a searched\n"
     "point are skipped."},
    {2540, "Multistart null-space radius factor",
     "Factor of the radius around a searched point inside which the\n"
     "multistart solver does not start again."},
    {2541, "Multistart KKT radius factor",
     "Factor of the radius around a local optimum inside which candidate\n"
     "points are assumed to lead to the same optimum."},
    {2542, "Local searches in the tree",
     "Maximum number of local searches at each node of the branch and\n"
     "bound of nonlinear integer models."},
    {2543, "Multistart threads",
     "Number of threads of the multistart solver."},
    {2544, "Multistart random seed",
     "Seed of the random generator of the multistart solver. -1 takes\n"
     "the seed from the clock."},
    {2545, "Multistart preprocessing mode",
     "Bit mask of preprocessing steps of the multistart solver. -1 the\n"
     "solver decides."},
    {2546, "Multistart reverse mapping mode",
     "Bit mask selecting how multistart points are mapped back to the\n"
     "original model. -1 the solver decides."},
    {2547, "NLP extra settings",
     "Bit mask of refinements of the nonlinear solver; the default\n"
     "197152 enables the recommended set."},
    {2548, "Multistart overlap ratio",
     "Fraction of overlap between the regions searched by two multistart\n"
     "passes."},
    {2549, "Infinity of nonlinear models",
     "Specifies the numeric infinity for nonlinear models. Bounds and\n"
     "function values at or beyond it are treated as infinite."},
    {2550, "Barrier to gradient method switch",
     "1 lets the nonlinear solver switch from the barrier method to the\n"
     "reduced gradient method near the optimum, 0 never."},
    {2551, "Semidefinite reformulation",
     "1 lets the nonlinear solver use semidefinite reformulations of\n"
     "quadratic models, 0 never."},

    // ---- interior-point solver ----
    {3150, "IPM infeasibility tolerance",
     "Tolerance of the interior-point method for declaring a linear model\n"
     "primal or dual infeasible."},
    {3151, "IPM central path tolerance",
     "How closely the interior-point iterates follow the central path;\n"
     "larger values allow more aggressive steps."},
    {3152, "IPM primal feasibility tolerance",
     "Relative primal feasibility required of the interior-point solution\n"
     "of a linear model."},
    {3153, "IPM relative step size",
     "Fraction of the step to the boundary that the interior-point method\n"
     "takes."},
    {3154, "IPM primal starting point safety",
     "Scale factor of the initial primal point of the interior-point\n"
     "method; increase it when the method stalls early."},
    {3155, "IPM dual feasibility tolerance",
     "Relative dual feasibility required of the interior-point solution\n"
     "of a linear model."},
    {3156, "IPM dual starting point safety",
     "Scale factor of the initial dual point of the interior-point\n"
     "method."},
    {3157, "IPM complementarity reduction",
     "Relative reduction of the complementarity gap required of the\n"
     "interior-point solution of a linear model."},
    {3158, "Crossover relative slack tolerance",
     "Relative tolerance on slacks when the crossover builds a basis from\n"
     "the interior-point solution."},
    {3159, "Crossover slack tolerance",
     "Absolute tolerance on slacks in the crossover."},
    {3160, "Crossover variable tolerance",
     "Absolute tolerance on variable values in the crossover."},
    {3161, "Crossover LU relative pivot tolerance",
     "Relative pivot tolerance of the LU factorisation in the crossover."},
    {3162, "Conic IPM infeasibility tolerance",
     "Infeasibility tolerance of the interior-point method on conic and\n"
     "quadratic models."},
    {3163, "Conic IPM primal feasibility tolerance",
     "Primal feasibility tolerance of the interior-point method on conic\n"
     "and quadratic models."},
    {3164, "Conic IPM dual feasibility tolerance",
     "Dual feasibility tolerance of the interior-point method on conic and\n"
     "quadratic models."},
    {3165, "Conic IPM complementarity reduction",
     "Relative complementarity reduction required on conic and quadratic\n"
     "models."},
    {3166, "IPM iteration limit",
     "Maximum number of interior-point iterations."},
    {3167, "IPM dense column threshold",
     "Columns with more nonzeros than this factor times the average are\n"
     "treated as dense by the interior-point factorisation."},
    {3168, "IPM threads",
     "Number of threads of the interior-point method."},
    {3169, "IPM convexity check",
     "1 checks quadratic models for convexity before the interior-point\n"
     "method runs, 0 skips the check."},

    // ---- simplex internals ----
    {4060, "Lower limit of the primal feasibility tolerance",
     "Smallest primal feasibility tolerance the simplex falls back to\n"
     "when it tightens the tolerance during a solve."},
    {4061, "Upper limit of the primal feasibility tolerance",
     "Largest primal feasibility tolerance the simplex may relax to when\n"
     "it struggles numerically."},
    {4062, "Lower limit of the optimality tolerance",
     "Smallest reduced-cost tolerance the simplex uses; the tolerance\n"
     "never falls below it."},
    {4063, "Upper limit of the optimality tolerance",
     "Largest reduced-cost tolerance the simplex may relax to."},
    {4064, "Lower limit of the pivot tolerance",
     "Smallest pivot tolerance the simplex uses."},
    {4065, "Upper limit of the pivot tolerance",
     "Largest pivot tolerance the simplex may raise to after numerical\n"
     "trouble."},
    {4066, "Matrix zero tolerance",
     "Matrix coefficients of smaller magnitude are treated as zero."},
    {4067, "Pivot zero tolerance",
     "Starting pivot tolerance of the simplex: candidate pivots of\n"
     "smaller magnitude are rejected."},
    {4068, "Large pivot tolerance",
     "Largest acceptable pivot tolerance of the simplex."},
    {4069, "Phase-one big M",
     "Penalty weight of infeasibilities in the composite objective of the\n"
     "primal simplex; raised automatically when needed."},
    {4070, "Artificial bound of the dual simplex",
     "Bound given to free nonbasic variables by the single-phase dual\n"
     "simplex."},
    {4071, "LP infinity",
     "Value at or beyond which bounds are treated as infinite by the\n"
     "simplex. Read only."},
    {4072, "Primal partial pricing method",
     "Partial pricing scheme of the primal simplex: 0 the default\n"
     "(method 2), 1, 2 or 3 select a scheme."},
    {4073, "Dual partial pricing method",
     "Partial pricing scheme of the dual simplex: 0 the default, 1 to 3\n"
     "select a scheme."},
    {4074, "Dual ratio test",
     "Ratio test of the dual simplex: 0 textbook, 1 the bound-flipping\n"
     "test with tolerances (default), higher values more careful tests."},
    {4075, "Primal ratio test",
     "Ratio test of the primal simplex: 0 textbook, 1 the two-pass test\n"
     "with tolerances (default), higher values more careful tests."},
    {4076, "Ratio test candidate range",
     "Number of candidates kept by the ratio test for choosing a\n"
     "numerically safe pivot."},
    {4077, "Method switching",
     "Switching between the primal and dual simplex when one of them\n"
     "stalls: 0 never, 1 allowed, 2 allowed with devex pricing, larger\n"
     "values switch eagerly."},
    {4078, "Simplex memory allocation factor",
     "Factor of extra space the simplex work area reserves for growth."},
    {4079, "Simplex trace mask",
     "Bit mask of trace output of the simplex; 0 prints the standard log\n"
     "only. Bit 32768 raises the LU print level."},
    {4080, "Simplex strategy bits",
     "Bit mask of individual simplex refinements. Bits 2 and 4 select the\n"
     "basis recovery method, bit 1048576 carries the objective as an\n"
     "extra row; the default 33 enables the recommended set."},
    {4081, "Sprint subproblems",
     "1 solves large models through a sequence of smaller column subsets\n"
     "(sprint), 0 solves the whole model."},
    {4082, "Perturbation mode",
     "Perturbation against degeneracy: 1 shifts bounds, any other value\n"
     "uses the cost perturbation variant."},
    {4083, "Pivot column density factor",
     "Factor applied to the average pivot-column density when choosing\n"
     "sparse or dense operations; 0 means 10."},
    {4084, "Merges before refactorisation",
     "Number of update merges after which the simplex asks for a\n"
     "refactorisation; 0 means 40."},
    {4085, "Perturbation factor",
     "Size of the cost perturbation; 0 means 0.999 times the optimality\n"
     "tolerance."},
    {4086, "Dynamic objective factor",
     "Weight of the true objective in the composite objective of the\n"
     "primal simplex."},

    // ---- LU factorisation ----
    {4800, "LU pivot candidates",
     "Number of pivot candidates examined per pivot search of the basis\n"
     "factorisation. Values below 1 are rejected by the factorisation."},
    {4801, "LU update limit",
     "Maximum number of basis updates the factor storage is sized for.\n"
     "A negative value selects the default."},
    {4802, "LU print level",
     "Print level of the basis factorisation; values below 1 mean 0."},
    {4803, "LU update type",
     "Basis update: 0 eta file, 1 Forrest-Tomlin update.\n"
     "A negative value selects the default."},
    {4804, "LU reuse of the pivot column",
     "1 lets the update reuse the pivot column the simplex already\n"
     "computed, 0 recomputes it."},
    {4806, "LU pivoting mode",
     "Pivoting strategy of the factorisation: 0 threshold Markowitz,\n"
     "1 to 3 stricter variants."},
    {4900, "LU diagonal tolerance",
     "Diagonal entries of smaller magnitude count as zero pivots.\n"
     "A negative value selects the default."},
    {4901, "LU drop tolerance",
     "Computed values of smaller magnitude are dropped as zeros.\n"
     "A negative value selects the default."},
    {4902, "LU absolute pivot tolerance",
     "Pivots of smaller magnitude are rejected.\n"
     "A negative value selects the default."},
    {4903, "LU relative pivot tolerance",
     "Threshold pivoting: a pivot must be at least this fraction of the\n"
     "largest entry in its column. Raised by the simplex after numerical\n"
     "trouble. A negative value selects the default."},
    {4904, "LU initial condition estimate",
     "Initial tolerance for the reciprocal condition estimate of the\n"
     "basis. A negative value selects the default."},
    {4905, "LU sparse update threshold",
     "Density below which the update uses its sparse variant.\n"
     "A negative value selects the default."},
    {4906, "LU sparse FTRAN threshold",
     "Density below which FTRAN uses its sparse variant.\n"
     "A negative value selects the default."},
    {4907, "LU sparse BTRAN threshold",
     "Density below which BTRAN uses its sparse variant.\n"
     "A negative value selects the default."},

    // ---- mixed-integer solver ----
    {5300, "MIP time limit in seconds",
     "Time limit of the MIP solver in whole seconds. -1 means no limit."},
    {5301, "MIP time before the relaxed gap applies",
     "Seconds after which the MIP solver accepts the relative gap\n"
     "QX_DPARAM_MIP_PEROPTTOL instead of QX_DPARAM_MIP_RELOPTTOL.\n"
     "-1 never."},
    {5302, "MIP time limit since the last solution",
     "Seconds the MIP solver may run without finding a new incumbent.\n"
     "-1 means no limit."},
    {5303, "MIP presolve level",
     "Bit mask of MIP presolve techniques at the root. 0 switches MIP\n"
     "presolve off; the default 3070 enables the recommended set."},
    {5304, "MIP node selection rule",
     "Order in which open nodes are explored: 0 and 4 best bound,\n"
     "1 depth first, 2 worst bound, 3 best bound, 5 and 6 best estimate,\n"
     "7 an estimate-based order. Rules 4 and 6 adapt during the search;\n"
     "values outside 1 to 7 mean best bound."},
    {5305, "MIP absolute integrality tolerance",
     "A value within this distance of an integer counts as integral."},
    {5306, "MIP relative integrality tolerance",
     "A value within this distance of an integer, relative to its\n"
     "magnitude, counts as integral."},
    {5307, "MIP relative optimality tolerance",
     "The search stops when the relative gap between the incumbent and\n"
     "the best bound is at most this value."},
    {5308, "MIP relaxed relative optimality tolerance",
     "Relative gap accepted after QX_DPARAM_MIP_AOPTTIMLIM seconds."},
    {5309, "Cut passes at the root",
     "Maximum number of cut generation passes at the root node."},
    {5310, "Cut passes in the tree",
     "Maximum number of cut generation passes at a tree node."},
    {5311, "Cut pool capacity at the root",
     "Capacity of the cut pool at the root, as a multiple of the number of\n"
     "rows. 0 leaves no room for cuts."},
    {5312, "Cut pool capacity in the tree",
     "Capacity of the cut pool in the tree, as a multiple of the number\n"
     "of rows."},
    {5313, "Cut passes without improvement",
     "Cut passes allowed without improving the relaxation bound."},
    {5314, "Cut families at the root",
     "Bit mask of cut families tried at the root. The default 57342\n"
     "enables all but cardinality and LP rounding cuts; 0 no root cuts."},
    {5315, "Cut families in the tree",
     "Bit mask of cut families tried at tree nodes. The default 53246\n"
     "enables all but cardinality, basis and LP rounding cuts."},
    {5316, "Cut time limit in seconds",
     "Total time for cut generation in whole seconds. -1 means no limit."},
    {5317, "Cut depth",
     "Beyond this tree depth cuts are generated less often."},
    {5318, "Cut frequency",
     "Cuts are tried at every this-many nodes of the tree."},
    {5319, "MIP heuristic level",
     "Effort of the primal heuristics: 0 none, 1 a simple fast heuristic,\n"
     "2 and above advanced heuristics (more effort with higher values;\n"
     "above 20 brings nothing more). Tree heuristics need 3 or more."},
    {5320, "MIP print level",
     "Output of the MIP solver: 0 silent, 1 progress lines, 2 also cut\n"
     "information, 3 and above banners and statistics, above 4 the\n"
     "cut-type table."},
    {5321, "MIP presolve print level",
     "0 silent, 1 prints the MIP presolve summary table."},
    {5322, "MIP cutoff objective",
     "Objective value a solution must beat to be of interest; used when\n"
     "QX_IPARAM_MIP_USECUTOFFOBJ is set. Setting it marks the cutoff as\n"
     "given."},
    {5323, "Use the MIP cutoff objective",
     "0 ignores QX_DPARAM_MIP_CUTOFFOBJ, 1 prunes with it, 2 and more\n"
     "also let it stand in for a missing incumbent."},
    {5324, "Strong branching level",
     "Strong branching is used on tree levels 1 up to this value."},
    {5325, "Tree reordering level",
     "Level of tree reordering, by which the search returns to promising\n"
     "subtrees."},
    {5326, "Branching direction",
     "0 the solver decides, 1 the up branch first, 2 the down branch\n"
     "first."},
    {5327, "Method of the root relaxation",
     "Optimisation method (QX_METHOD_*) of relaxations solved without a\n"
     "basis."},
    {5328, "Method of node reoptimisation",
     "Optimisation method (QX_METHOD_*) of relaxations reoptimised from a\n"
     "basis."},
    {5329, "MIP solver type",
     "0 the solver decides, 1 branch and bound only, 2 enumeration and\n"
     "knapsack solver only, 3 both in turn."},
    {5330, "Keep node bases in memory",
     "1 keeps the packed optimal basis of each node's parent for warm\n"
     "starts, 0 warm-starts from the root basis."},
    {5331, "Branching variable rule",
     "0 the solver decides, 1 basis rounding with pseudo reduced costs,\n"
     "2 maximum infeasibility, 3 pseudo reduced costs only, 4 maximum\n"
     "coefficient only, 5 previous branching only."},
    {5332, "Reduced-cost fixing threshold at the root",
     "Fraction of the gap below which reduced-cost fixing fixes variables\n"
     "at the root."},
    {5333, "Cut pass objective tolerance",
     "Minimum relative change of the relaxation objective for further cut\n"
     "passes."},
    {5334, "Minimum heuristic time in seconds",
     "Minimum time spent in heuristics, whole seconds."},
    {5335, "Use of branching priorities",
     "0 use the host's priorities if given, else decide; 1 use them but\n"
     "allow overriding; 2 use them if given, else none; 3 ignore them;\n"
     "4 binaries before general integers."},
    {5336, "Bound scaling limit",
     "Variables with bounds beyond this value are not scaled by the MIP\n"
     "preprocessing. -1 scales none."},
    {5337, "Pseudo-cost weight",
     "Weight in the pseudo-cost branching score."},
    {5338, "Big-M for logical constraints",
     "Big-M coefficient used when logical constraints are linearised."},
    {5339, "MIP zero tolerance",
     "Tolerance below which values are treated as zero in MIP\n"
     "computations."},
    {5340, "Compute the MIP dual solution",
     "1 computes dual values of the final relaxation with integers fixed\n"
     "after a MIP solve, 0 does not."},
    {5341, "MIP branch limit",
     "Maximum number of branches. -1 means no limit."},
    {5342, "MIP iteration limit",
     "Limit on the LP iterations summed over the search. -1 means no\n"
     "limit."},
    {5343, "Aggregation cut limit at the root",
     "Maximum rows aggregated into one aggregation cut at the root. -1 the\n"
     "solver decides."},
    {5344, "Aggregation cut limit in the tree",
     "Maximum rows aggregated into one aggregation cut in the tree."},
    {5345, "Barrier switch on iterations",
     "Ratio of simplex to barrier iterations at which node relaxations\n"
     "switch method. -1 never."},
    {5346, "Open nodes before worst-bound order",
     "When more nodes than this are open the search switches to the\n"
     "worst-bound order until the count falls again. -1 never."},
    {5347, "MIP absolute optimality tolerance",
     "The search stops when the absolute gap between the incumbent and\n"
     "the best bound is at most this value."},
    {5348, "Cutoff step per solution",
     "Amount by which the cutoff is tightened at each new integer\n"
     "solution."},
    {5349, "Pseudo-cost rule",
     "0 decide, 1 minimum pseudo cost, 2 maximum, 3 quadratic score with\n"
     "the weight, 4 as 3 without the quadratic score. The score of a\n"
     "candidate comes from its two estimated gains lo <= hi: 1 lo, 2 hi,\n"
     "3 W lo + hi + lo hi, 4 W lo + hi (W the pseudo-cost weight), 0 the\n"
     "product lo hi; the largest score is branched on."},
    {5350, "Enumeration heuristic",
     "0 off, 1 at the root without cuts, 2 root and tree without cuts,\n"
     "3 as 1 with cuts, 4 as 2 with cuts."},
    {5351, "MIP presolve level in the tree",
     "Bit mask of presolve techniques applied at tree nodes."},
    {5352, "Reduced-cost fixing threshold in the tree",
     "Fraction of the gap below which reduced-cost fixing fixes variables\n"
     "at tree nodes."},
    {5353, "Integer zero tolerance mode",
     "Above 0: an all-integer model (every variable that is not fixed is\n"
     "integer, every coefficient and right-hand side a whole number) is\n"
     "solved with integrality tolerances of 1e-9; 0 never."},
    {5354, "Cuts inside heuristics",
     "0 no, 1 yes, -1 the solver decides."},
    {5355, "Big-M for integrality tolerance",
     "Variables with coefficients beyond this value get a tightened\n"
     "integrality tolerance."},
    {5366, "Strong branching candidates",
     "Minimum number of candidates tried by strong branching."},
    {5367, "Cut inactivity count",
     "A cut slack for more than this many successive reoptimisations is\n"
     "made inactive."},
    {5368, "MIP presolve fill limit",
     "Limit on the fill-in that MIP presolve eliminations may cause."},
    {5369, "Heuristic stopping mode",
     "0 the solver decides when to stop a heuristic, 1 by a time limit,\n"
     "2 by an iteration limit."},
    {5370, "MIP time limit in seconds (double)",
     "Time limit of the MIP solver. -1 means no limit."},
    {5371, "MIP time before the relaxed gap applies (double)",
     "Seconds after which QX_DPARAM_MIP_PEROPTTOL applies. -1 never."},
    {5372, "MIP time since last solution (double)",
     "Seconds allowed without a new incumbent. -1 means no limit."},
    {5373, "Cut time limit (double)",
     "Total seconds for cut generation. -1 means no limit."},
    {5374, "Minimum heuristic time (double)",
     "Minimum seconds spent in heuristics."},
    {5375, "Feasibility pump mode",
     "-1 or 1 the solver decides, 0 off, 2 until the first solution,\n"
     "3 look for more than one."},
    {5376, "Feasibility pump objective weight",
     "Weight of the objective in the feasibility pump, in [0, 1]."},
    {5377, "Feasibility pump LP method",
     "0 decide, 1 primal simplex, 2 dual simplex, 3 barrier."},
    {5378, "Feasibility pump time limit",
     "Time limit of the feasibility pump in seconds. -1 none."},
    {5379, "Feasibility pump iteration limit",
     "Iteration limit of the feasibility pump. -1 none."},
    {5380, "Feasibility pump heuristic mode",
     "0 off, 1 decide, 2 only without cutoff or initial solution,\n"
     "3 always, 4 as 2 and also at tree nodes, 5 as 3 and at tree nodes."},
    {5381, "MIP objective threshold",
     "The search stops once the incumbent reaches this objective value."},
    {5382, "Local branching",
     "Number of local branching rounds around the incumbent. 0 off."},
    {5383, "Barrier switch on time",
     "Ratio of simplex to barrier time at which node relaxations switch\n"
     "method. -1 never."},
    {5384, "MIP simplex iteration limit",
     "Limit on the simplex iterations of the search. -1 none."},
    {5385, "MIP nonlinear iteration limit",
     "Limit on the nonlinear solver iterations of the search. -1 none."},
    {5386, "MIP barrier iteration limit",
     "Limit on the barrier iterations of the search. -1 none."},
    {5387, "Stored MIP solutions",
     "Maximum number of integer solutions kept by the MIP solver."},
    {5388, "Concurrent mode for cold starts",
     "Concurrent methods for relaxations solved without a basis: 0 off,\n"
     "1 and 2 select the races."},
    {5389, "Concurrent mode for warm starts",
     "Concurrent methods for relaxations reoptimised from a basis: 0 off,\n"
     "1 and 2 select the races."},
    {5390, "Pre-relaxation heuristic level",
     "-1 decide (level 1), 0 off, 1 one-change, 2 one-change and\n"
     "two-change, 3 depth-first enumeration. Other values make the\n"
     "heuristic fail with 2024."},
    {5391, "Pre-relaxation heuristic presolve level",
     "Presolve level (LP presolve mask) of the pre-relaxation model."},
    {5392, "Pre-relaxation heuristic print level",
     "Print level of the pre-relaxation heuristic."},
    {5393, "Two-change iteration limit",
     "Iteration limit of the two-change pass."},
    {5394, "Depth-first enumeration visit limit",
     "Variable-visit limit of the depth-first enumeration."},
    {5395, "Pre-relaxation variable order",
     "Order in which variables are considered: 1 forward, -1 backward."},
    {5396, "MIP partial solution level",
     "How a partial initial solution is used by the MIP solver: 0 ignored,\n"
     "1 checked, 2 completed by a sub-MIP, 3 completed with more effort."},
    {5397, "MIP general mode",
     "Bit mask of general strategy flags; one bit disables cut generation\n"
     "before branching."},
    {5398, "MIP threads",
     "Number of threads of the MIP solver; above 1 the concurrent MIP may\n"
     "run."},
    {5399, "Polishing branches before the next round",
     "Branches between two solution polishing rounds."},
    {5400, "Polishing branch limit",
     "Maximum branches of one solution polishing round."},
    {5401, "Polishing target fraction",
     "Fraction of variables fixed from the incumbent when polishing."},
    {5402, "Concurrent MIP strategy",
     "-1 solver decides and 1 built-in strategies per thread, 0 the\n"
     "host's strategy callbacks; 2 and 3 are refused by the solver."},
    {5403, "Top value difference weight",
     "Weight of the value difference in branching at the top of the\n"
     "tree."},
    {5404, "Basis cut candidates",
     "Number of candidates for basis cuts per pass."},
    {5405, "Parallel subproblems",
     "1 solves subproblems of the concurrent MIP in parallel, 0 serially."},
    {5406, "Parallel round iteration limit",
     "Iteration factor of a parallel round. -1 the solver decides."},
    {5407, "Parallel initial nodes",
     "Number of nodes explored before the tree is split among threads.\n"
     "-1 the solver decides."},
    {5408, "Parallel iteration mode",
     "0 deterministic, 1 opportunistic, 2 mixed thread synchronisation."},
    {5409, "Parallel feasibility pump",
     "1 runs the feasibility pump in parallel threads, 0 serially."},
    {5410, "Parallel feasibility pump mode",
     "0 stops when all threads finish, 1 stops as soon as the master\n"
     "finishes."},
    {5411, "Heuristic without objective",
     "1 runs a heuristic without objective before branch and bound when\n"
     "no solution is known, 0 does not."},
    {5412, "Absolute cut tolerance",
     "Minimum violation for a cut to be added; a negative value means\n"
     "the built-in tolerance 0.0055625."},
    {5413, "Perspective reformulation",
     "1 applies the perspective reformulation to suitable semi-continuous\n"
     "structures, 0 does not."},
    {5414, "Tree reordering mode",
     "1 reorder only for subproblems, 2 also in the main loop when the\n"
     "relaxation is infeasible, 3 never, 4 by the reordering level."},
    {5415, "External MIP solver",
     "Selection of an installed external MIP solver; 0 none."},
    {5416, "Try the block solver first",
     "1 tries the block-decomposition (branch and price) solver before\n"
     "branch and bound, 0 does not."},
    {5417, "K-best solutions with the global solver",
     "1 uses the global solver when several best solutions are asked\n"
     "for, 0 the MIP solver."},

    // ---- global solver ----
    {6400, "GOP relative optimality tolerance",
     "The global solver stops when the relative gap between the best\n"
     "solution and the best bound is at most this value."},
    {6401, "GOP floating-point tolerance",
     "Tolerance below which the global solver treats values as equal."},
    {6402, "GOP box size tolerance",
     "Boxes smaller than this in every dimension are not split further."},
    {6403, "GOP box width tolerance",
     "Boxes narrower than this are considered solved."},
    {6404, "GOP delta tolerance",
     "Tolerance for the difference between a box bound and its\n"
     "relaxation value."},
    {6405, "GOP variable bound limit",
     "Limit applied to infinite variable bounds by the global solver\n"
     "according to QX_IPARAM_GOP_BNDLIM_MODE."},
    {6406, "GOP time limit in seconds",
     "Time limit of the global solver. -1 means no limit."},
    {6407, "GOP optimality check mode",
     "Checks made on candidate solutions: 0 none, 1 local optimality,\n"
     "2 local optimality and bound improvement."},
    {6408, "GOP branching mode",
     "Choice of the branching variable: 0 the solver decides, 1 to 5\n"
     "select the rule (widest box, largest violation and combinations)."},
    {6409, "GOP maximum width mode",
     "0 measures box width absolutely, 1 relative to the original box."},
    {6410, "GOP presolve level",
     "Bit mask of presolve techniques of the global solver."},
    {6411, "GOP postsolve level",
     "Bit mask of postsolve refinements of the global solver."},
    {6412, "GOP box selection",
     "0 depth first, 1 best bound first."},
    {6413, "GOP decomposition points",
     "0 splits boxes in the middle, 1 at the relaxation solution."},
    {6414, "GOP algebraic reformulation",
     "Bit mask of algebraic reformulations applied before relaxing."},
    {6415, "GOP relative branching mode",
     "Bit mask refining how branching points are chosen."},
    {6416, "GOP print level",
     "Output of the global solver: 0 silent, 1 progress lines, higher\n"
     "values add detail."},
    {6417, "GOP bound limit mode",
     "Use of QX_DPARAM_GOP_BNDLIM: 0 never, 1 for the relaxations only,\n"
     "2 for the relaxations and the solution."},
    {6418, "GOP branch limit",
     "Maximum number of branches of the global solver. -1 and 2147483647\n"
     "mean no limit; reaching it returns error 2039."},
    {6419, "GOP core level",
     "Bit mask of core techniques of the global solver."},
    {6420, "GOP optimisation mode",
     "0 find a feasible solution, 1 find the global optimum, 2 prove\n"
     "that a given solution is globally optimal."},
    {6421, "GOP heuristic mode",
     "Heuristics inside the global solver: 0 none, 1 simple, 2 thorough."},
    {6422, "GOP substitution mode",
     "Substitution of defined variables before relaxing: 0 none, 1\n"
     "linear ones, 2 all."},
    {6423, "GOP local NLP solves",
     "1 calls the local nonlinear solver in boxes to improve solutions,\n"
     "0 never."},
    {6424, "GOP branch limit before a local solve",
     "Branches between two local solves. -1 the solver decides."},
    {6425, "GOP LP method",
     "Optimisation method (QX_METHOD_*) of the relaxations; 2 the dual\n"
     "simplex."},
    {6426, "GOP time limit (double)",
     "Time limit of the global solver in seconds. -1 none."},
    {6427, "GOP branch limit (double)",
     "Branch limit of the global solver. -1 none."},
    {6428, "GOP quadratic mode",
     "1 treats quadratic terms by dedicated relaxations, 0 as general\n"
     "nonlinear terms."},
    {6429, "GOP limit mode",
     "Which limits end the global solver: 0 none, 1 time and branch\n"
     "limits, 2 also iteration limits, 3 all limits."},
    {6430, "GOP iteration limit",
     "Limit on all iterations of the global solver. -1 none."},
    {6431, "GOP simplex iteration limit",
     "Limit on simplex iterations of the global solver. -1 none."},
    {6432, "GOP barrier iteration limit",
     "Limit on barrier iterations of the global solver. -1 none."},
    {6433, "GOP nonlinear iteration limit",
     "Limit on nonlinear iterations of the global solver. -1 none."},
    {6434, "GOP absolute optimality tolerance",
     "The global solver stops when the absolute gap is at most this\n"
     "value."},
    {6435, "GOP relaxed optimality tolerance (reserved)",
     "Relaxed relative gap of the global solver. Reserved: setting it is\n"
     "refused with error 2029."},
    {6436, "GOP time before relaxed gap (reserved)",
     "Seconds before the relaxed gap applies. Reserved: setting it is\n"
     "refused with error 2029."},
    {6437, "GOP linearisation",
     "Linearisation of nonlinear terms by the global solver: 0 none,\n"
     "1 the solver decides, 2 and 3 more aggressive."},
    {6438, "GOP threads",
     "Number of threads of the global solver."},
    {6439, "GOP multilinear terms",
     "1 relaxes multilinear terms with dedicated envelopes, 0 treats them\n"
     "as products of pairs."},
    {6440, "GOP objective threshold",
     "The global solver stops once a solution reaches this objective."},
    {6441, "GOP quadratic method",
     "0 the default relaxation of quadratic terms, 1 an eigenvalue-based\n"
     "relaxation."},

    // ---- stochastic programming ----
    {6600, "Sample size per stochastic parameter",
     "Number of sample points drawn for each stochastic parameter. -1 the\n"
     "solver decides."},
    {6601, "Sample size per stage",
     "Number of sample points drawn per stage. -1 the solver decides."},
    {6602, "Stochastic random seed",
     "Seed of the random generator used for sampling event trees."},
    {6603, "Stochastic solution method",
     "-1 (QX_METHOD_STOC_FREE) the solver decides, 0 deterministic\n"
     "equivalent, 1 nested Benders decomposition, 2 augmented Lagrangian\n"
     "decomposition, 3 to 5 further decomposition methods."},
    {6604, "Method of node reoptimisation",
     "Optimisation method (QX_METHOD_*) for node models reoptimised from\n"
     "a basis."},
    {6605, "Method of node models",
     "Optimisation method (QX_METHOD_*) for node models solved without a\n"
     "basis."},
    {6606, "Stochastic iteration limit",
     "Iteration limit of the stochastic solver. -1 none."},
    {6607, "Stochastic print level",
     "Output of the stochastic solver: 0 silent, higher values more."},
    {6608, "Deterministic equivalent type",
     "-1 (QX_DETEQ_FREE) the solver decides, 0 implicit form, 1 explicit\n"
     "form, 2 form for chance constraints."},
    {6609, "Compute EVPI",
     "1 computes the expected value of perfect information, 0 skips it."},
    {6611, "Sample continuous parameters only",
     "1 samples only continuously distributed parameters and keeps the\n"
     "discrete ones exact, 0 samples all."},
    {6612, "Bucket size",
     "Bucket size for the Benders decomposition. -1 the solver decides."},
    {6613, "Maximum scenarios for exact solving",
     "Largest number of scenarios for which the event tree is solved\n"
     "exactly without sampling."},
    {6614, "Stage from which samples are shared",
     "Stage from which sample points are shared across the tree. -1 the\n"
     "solver decides."},
    {6615, "Node model presolve level",
     "Presolve level (LP presolve mask) of node models."},
    {6616, "Stochastic time limit",
     "Time limit of the stochastic solver in seconds. -1 none."},
    {6617, "Stochastic relative optimality tolerance",
     "Relative gap at which the decomposition methods stop."},
    {6618, "Stochastic absolute optimality tolerance",
     "Absolute gap at which the decomposition methods stop."},
    {6619, "Stochastic debug mask",
     "Bit mask of debugging output of the stochastic solver."},
    {6620, "Variance reduction method",
     "Sampling method: 0 Monte Carlo, 1 (QX_LATINSQUARE) Latin square,\n"
     "2 antithetic, 3 Latin square and antithetic together."},
    {6621, "Correlation type",
     "Correlation measure induced among samples: 0 (QX_CORR_PEARSON)\n"
     "Pearson, 1 Kendall, 2 Spearman."},
    {6622, "Warm start basis of node models",
     "Basis used to warm-start node models. -1 the solver decides."},
    {6623, "ALD outer iteration limit",
     "Outer iteration limit of the augmented Lagrangian decomposition."},
    {6624, "ALD inner iteration limit",
     "Inner iteration limit of the augmented Lagrangian decomposition."},
    {6625, "ALD dual feasibility tolerance",
     "Dual feasibility tolerance of the augmented Lagrangian method."},
    {6626, "ALD primal feasibility tolerance",
     "Primal feasibility tolerance of the augmented Lagrangian method."},
    {6627, "ALD dual step length",
     "Dual step length of the augmented Lagrangian method."},
    {6628, "ALD primal step length",
     "Primal step length of the augmented Lagrangian method."},
    {6629, "Order core model by stage",
     "1 reorders the core model's rows and columns by stage when it is\n"
     "loaded, 0 keeps the given order."},
    {6630, "Node name format",
     "Format of the names given to event-tree nodes; empty for the\n"
     "built-in names. Set and read through the stochastic parameter\n"
     "functions or QXsetModelParameter."},
    {6631, "Scenario name format",
     "Format of the names given to scenarios; empty for the built-in\n"
     "names. Set and read like the node name format."},
    {6632, "Map MPI to LP",
     "1 maps the stochastic instruction lists of an MPI core model onto\n"
     "its matrix, 0 keeps them as instructions."},
    {6633, "Automatic aggregation",
     "1 aggregates stages automatically when the model allows it, 0\n"
     "keeps the given stages."},
    {6634, "Benchmark scenario",
     "Scenario used as benchmark: a scenario index, or -1 the root,\n"
     "-2 (QX_SCEN_AVRG) the average scenario, -3 the median, -4 the\n"
     "user's."},
    {6635, "Stochastic bound infinity",
     "Bound value treated as infinite in stochastic models."},
    {6636, "Add MPI data",
     "1 adds the instruction list of the core model to node models, 0\n"
     "uses the matrix form only."},
    {6637, "Eliminate fixed variables",
     "1 removes fixed variables from node models, 0 keeps them."},
    {6638, "Benders objective cut value",
     "Objective cut value of the Benders decomposition."},
    {6639, "Benders objective cut flag",
     "1 adds the objective cut to the Benders master problem, 0 does not."},
    {6640, "Benders candidates",
     "Number of candidate solutions of the Benders master. -1 decide."},
    {6641, "Stochastic big M",
     "Big-M value used in chance-constrained formulations."},
    {6642, "Stochastic name data level",
     "Names kept for node models: 0 none, 1 generated names, 2 full\n"
     "names."},
    {6643, "Benders cut limit",
     "Maximum Benders cuts per pass. -1 the solver decides."},
    {6644, "Method of the deterministic equivalent",
     "Optimisation method (QX_METHOD_*) for the deterministic\n"
     "equivalent."},
    {6645, "Decomposition subproblem form",
     "Form of the decomposition subproblems: -1 decide, 0 primal,\n"
     "1 dual."},
    {6646, "Relative primal step tolerance",
     "Relative primal step below which the decomposition stops."},
    {6647, "Relative dual step tolerance",
     "Relative dual step below which the decomposition stops."},
    {6648, "Stochastic threads",
     "Number of threads of the stochastic solver; 0 the solver decides."},
    {6649, "Deterministic equivalent blocks",
     "Number of blocks the deterministic equivalent is split into. -1 the\n"
     "solver decides."},

    // ---- sampling ----
    {7701, "Nearest correlation matrix method",
     "Method used to repair an invalid correlation matrix to the nearest\n"
     "valid one."},
    {7702, "Nearest correlation objective cutoff",
     "Objective cutoff of the nearest correlation matrix computation."},
    {7703, "Nearest correlation storage",
     "Storage of the correlation matrix: -1 decide, 0 sparse, 1 dense."},
    {7704, "CDF inversion increment",
     "Step used when a cumulative distribution is inverted numerically."},
    {7705, "Sample scaling",
     "1 scales samples to unit variance, 0 keeps them as drawn."},
    {7706, "Nearest correlation iteration limit",
     "Iteration limit of the nearest correlation matrix computation."},
    {7707, "Nearest correlation tolerance",
     "Optimality tolerance of the nearest correlation matrix\n"
     "computation."},
    {7708, "Sampling threads",
     "Number of threads of buffered random generators; values below 1\n"
     "mean 1."},
    {7709, "Random generator buffer size",
     "Size of the buffer of parallel random generators; 0 means 65536."},

    // ---- block decomposition ----
    {8010, "Block solver bound infinity",
     "Bound value treated as infinite by the block solver."},
    {8011, "Block solver level",
     "Effort of the block (branch and price) solver."},
    {8012, "Block solver print level",
     "Output of the block solver."},
    {8013, "Block solver box size",
     "Size of the box around the current point in column generation;\n"
     "0 none."},
    {8014, "Block solver threads",
     "Number of threads of the block solver."},
    {8015, "Block subproblem iteration limit",
     "Iteration limit of a block subproblem. -1 none."},
    {8016, "Find blocks",
     "How blocks are found: 0 given by the host, 1 automatic, 2 and 3\n"
     "alternative detection methods."},
    {8017, "Block solver presolve level",
     "Presolve level of the block solver."},
    {8018, "Block solver column limit",
     "Limit on generated columns. -1 none."},
    {8019, "Block solver time limit",
     "Time limit of the block solver in seconds. -1 none."},
    {8020, "Block solver simplex iteration limit",
     "Simplex iteration limit of the block solver. -1 none."},
    {8021, "Block solver barrier iteration limit",
     "Barrier iteration limit of the block solver. -1 none."},
    {8022, "Block solver branch limit",
     "Branch limit of the block solver. -1 none."},
    {8023, "Block solver iteration limit",
     "Total iteration limit of the block solver. -1 none."},

    // ---- genetic algorithm ----
    {8501, "GA continuous crossover probability",
     "Probability of crossover for continuous variables."},
    {8502, "GA crossover spread",
     "Spread factor of the crossover operator."},
    {8503, "GA integer crossover probability",
     "Probability of crossover for integer variables."},
    {8504, "GA continuous mutation probability",
     "Probability of mutation for continuous variables."},
    {8505, "GA mutation spread",
     "Spread factor of the mutation operator."},
    {8506, "GA integer mutation probability",
     "Probability of mutation for integer variables."},
    {8507, "GA zero tolerance",
     "Values of smaller magnitude are treated as zero."},
    {8508, "GA primal feasibility tolerance",
     "Largest constraint violation a member may have to count as\n"
     "feasible."},
    {8509, "GA infinity",
     "Value treated as infinite by the genetic algorithm."},
    {8510, "GA bound infinity",
     "Bound used in place of infinite variable bounds."},
    {8511, "GA BLX alpha",
     "First shape parameter of the blend crossover (BLX)."},
    {8512, "GA BLX beta",
     "Second shape parameter of the blend crossover (BLX)."},
    {8513, "GA continuous crossover method",
     "Crossover operator for continuous variables; -1 the solver decides."},
    {8514, "GA integer crossover method",
     "Crossover operator for integer variables; -1 the solver decides."},
    {8515, "GA continuous mutation method",
     "Mutation operator for continuous variables; -1 the solver decides."},
    {8516, "GA integer mutation method",
     "Mutation operator for integer variables; -1 the solver decides."},
    {8517, "GA random seed",
     "Seed of the random generator of the genetic algorithm."},
    {8518, "GA generations",
     "Number of generations."},
    {8519, "GA population size",
     "Number of members of the population."},
    {8520, "GA file output",
     "Output of the population to files; the default 0 writes none\n"
     "(0 is accepted although below the minimum)."},
    {8521, "GA print level",
     "Output of the genetic algorithm."},
    {8522, "GA inject optimum",
     "1 injects the optimum of the relaxation into the first population."},
    {8523, "GA threads",
     "Number of threads of the genetic algorithm."},
    {8524, "GA objective direction",
     "1 minimises, -1 maximises, 0 searches for feasibility only."},
    {8525, "GA objective stop value",
     "The algorithm stops when a member reaches this objective."},
    {8526, "GA migration probability",
     "Probability of migration between sub-populations."},
    {8527, "GA search space",
     "Search space of the algorithm: 0 the solver decides, 1 to 4 select\n"
     "bounded, unbounded and mixed search spaces."},
};

constexpr int kParamTextCount = static_cast<int>(sizeof(kParamTexts) / sizeof(kParamTexts[0]));

constexpr bool textsMatchRegistry() {
  if (kParamTextCount != kParamCount) return false;
  for (int k = 0; k < kParamCount; ++k)
    if (kParamTexts[k].id != kParamTable[k].id) return false;
  return true;
}
static_assert(textsMatchRegistry(), "every parameter needs exactly one description");

std::string formatNumber(const ParamDef& d, double v) {
  char buf[64];
  if (d.type == ParamType::Int && v >= -2147483648.0 && v <= 2147483647.0)
    std::snprintf(buf, sizeof buf, "%d", static_cast<int>(v));
  else
    std::snprintf(buf, sizeof buf, "%.16g", v);
  return buf;
}

std::string longText(const ParamDef& d, const ParamText& t) {
  std::string s = t.meaning;
  if (d.type == ParamType::Str) {
    s += "\nA text of at most " + std::to_string(kStringParamMaxLength) +
         " characters. Default: empty.";
    return s;
  }
  if (d.rule == SetRule::ReadOnly) {
    s += "\nValue: " + formatNumber(d, d.def) + ".";
    return s;
  }
  double lo = 0, hi = 0;
  paramRange(d, &lo, &hi);
  s += "\nRange: " + formatNumber(d, lo) + " to " + formatNumber(d, hi) + ".";
  s += "\nDefault: " + formatNumber(d, d.def);
  if (d.defName) s += std::string(" (") + d.defName + ")";
  s += ".";
  if (d.scope == kScopeModel) s += "\nSet on models only.";
  return s;
}

struct Tables {
  std::vector<std::string> longTexts;
  std::vector<ParamLongRow> longRows;
  std::vector<ParamShortRow> shortRows;
};

const Tables& tables() {
  static const Tables t = [] {
    Tables tb;
    tb.longTexts.reserve(kParamTextCount);
    for (const ParamText& text : kParamTexts) {
      const ParamDef* d = findParam(text.id);
      if (!d) continue;  // cannot happen: checked at compile time
      tb.longTexts.push_back(longText(*d, text));
    }
    std::size_t k = 0;
    for (const ParamText& text : kParamTexts) {
      const ParamDef* d = findParam(text.id);
      if (!d) continue;
      tb.longRows.push_back({d->id, d->name, tb.longTexts[k++].c_str(), paramValueSize(*d),
                             d->scope});
      tb.shortRows.push_back({d->id, d->name, text.shortDesc, paramValueSize(*d)});
    }
    auto byId = [](const auto& a, const auto& b) { return a.id < b.id; };
    std::sort(tb.longRows.begin(), tb.longRows.end(), byId);
    std::sort(tb.shortRows.begin(), tb.shortRows.end(), byId);
    return tb;
  }();
  return t;
}

template <class Row>
const Row* findRow(const std::vector<Row>& rows, int id) {
  auto it = std::lower_bound(rows.begin(), rows.end(), id,
                             [](const Row& r, int key) { return r.id < key; });
  return (it != rows.end() && it->id == id) ? &*it : nullptr;
}

}  // namespace

const std::vector<ParamLongRow>& paramLongTable() { return tables().longRows; }
const std::vector<ParamShortRow>& paramShortTable() { return tables().shortRows; }

int checkParamDocTables() {
  const Tables& t = tables();
  if (t.longRows.size() != t.shortRows.size() ||
      t.longRows.size() != static_cast<std::size_t>(kParamCount))
    return QXERR_INTERNAL_ERROR;
  return 0;
}

const ParamLongRow* findLongRow(int id) { return findRow(tables().longRows, id); }
const ParamShortRow* findShortRow(int id) { return findRow(tables().shortRows, id); }

}  // namespace torva
