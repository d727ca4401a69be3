# runtorva as a user meets it: one CTest case per behaviour, each checking
# the exit status and the messages. Included from tests/CMakeLists.txt.
set(cases_dir ${CMAKE_CURRENT_SOURCE_DIR}/app/cases)
set(diet ${CMAKE_SOURCE_DIR}/examples/models/diet.mps)

function(runtorva_case name exit args)
  cmake_parse_arguments(C "" "EXPECT;EXPECT2;FORBID;PARFILE;GZIP" "" ${ARGN})
  add_test(NAME runtorva_${name}
    COMMAND ${CMAKE_COMMAND} -DRUNTORVA=$<TARGET_FILE:runtorva> "-DARGS=${args}"
            -DWORKDIR=${CMAKE_CURRENT_BINARY_DIR}/runtorva_cases/${name} -DEXIT=${exit}
            "-DEXPECT=${C_EXPECT}" "-DEXPECT2=${C_EXPECT2}" "-DFORBID=${C_FORBID}"
            "-DPARFILE=${C_PARFILE}" "-DGZIP=${C_GZIP}"
            -P ${CMAKE_CURRENT_SOURCE_DIR}/app/run_case.cmake)
endfunction()

# Usage errors (2) name the option.
runtorva_case(no_arguments 2 "" EXPECT "Usage: runtorva")
runtorva_case(help 0 "--help" EXPECT "Exit status:" EXPECT2 "5  the parameter file")
runtorva_case(option_without_file 2 "${diet} --write" EXPECT "runtorva: --write needs a file name")
runtorva_case(unknown_option 2 "--bogus ${diet}" EXPECT "unknown option --bogus")
runtorva_case(bad_method 2 "--method simplex ${diet}" EXPECT "--method takes primal, dual, barrier or free")
# Files that cannot be read (3), the model's and the parameter file's.
runtorva_case(missing_model 3 "no-such.mps" EXPECT "cannot open the model file no-such.mps")
runtorva_case(missing_parameter_file 3 "-p missing.par ${diet}"
  EXPECT "cannot open the parameter file missing.par" FORBID "2002")
# Syntax errors (4): the reason, the file and line, the line itself.
runtorva_case(bad_value 4 "${cases_dir}/nine.mps"
  EXPECT "nine.mps:6: cannot convert 'nine' to a number" EXPECT2 "nine.mps:6: +x obj 1 c1 nine")
runtorva_case(missing_endata 4 "${cases_dir}/noendata.mps"
  EXPECT "ENDATA section missing" EXPECT2 "noendata.mps:8: error 2003")
runtorva_case(fixed_attempt_got_further 4 "${cases_dir}/fixed_late_error.mps"
  EXPECT "fixed_late_error.mps:10: error 2003: There is an error in the MPS file. \\(read as fixed MPS\\)"
  EXPECT2 "fixed_late_error.mps:4: read as free MPS, the file fails earlier:  L  ROW ONE")
runtorva_case(lp_read_as_mps_named 4 "--mps-format 0 ${cases_dir}/model.lp"
  EXPECT "looks like an LP-format file, not MPS")
# Other formats by extension, and by content when the name says nothing.
runtorva_case(lp_by_extension 0 "--no-solve ${cases_dir}/model.lp"
  EXPECT "from [^\n]*model.lp \\(LP format\\), maximise")
runtorva_case(written_as_ltx_and_solma 0
  "--no-solve ${diet} --write diet.ltx --write-solma diet.solma"
  EXPECT "Wrote diet.ltx in TORVA text format" EXPECT2 "Wrote diet.solma in SOLMA format")
# Text after ENDATA: runtorva reads the part before it and says so.
runtorva_case(text_after_endata 0 "--no-solve ${cases_dir}/after_endata.mps"
  EXPECT "after_endata.mps: line 10: text after ENDATA \\(line 9\\)"
  EXPECT2 "Model AFTER from [^\n]*after_endata.mps \\(free MPS\\), minimise")
# A compressed file is known by its content, whatever its name.
runtorva_case(gzip_by_content 0 "--no-solve compressed" GZIP ${diet}
  EXPECT "Model DIET from compressed \\(free MPS\\), minimise")
# Parameter files (5): every bad line with its number; read once although
# the model is read in two formats.
runtorva_case(bad_parameter_file 5 "-p ${cases_dir}/bad.par ${diet}"
  EXPECT "bad.par:1: QX_IPARAM_LP_PRINTLEVEL: '3 junk' is not an integer"
  EXPECT2 "bad.par:2: unknown parameter QX_IPARAM_NO_SUCH.*bad.par:3: QX_DPARAM_SOLVER_FEASTOL")
runtorva_case(parameter_banner_once 4 "${cases_dir}/fixed_late_error.mps" PARFILE ${cases_dir}/torva.par
  EXPECT "Reading model parameters from torva.par"
  FORBID "Reading model parameters[^\n]*\n.*Reading model parameters")
runtorva_case(set_short_name 0 "--set mip_printlevel=4 --write-params out.par"
  EXPECT "Written model parameters to out.par")
runtorva_case(set_unknown 5 "--set no_such=1 ${diet}" EXPECT "--set: unknown parameter no_such")
runtorva_case(set_bad_value 5 "--set lp_printlevel=high ${diet}"
  EXPECT "--set QX_IPARAM_LP_PRINTLEVEL: 'high' is not an integer")

# Solving (needs the optimiser in the header).
file(STRINGS ${CMAKE_SOURCE_DIR}/include/torva.h has_optimize REGEX "QXoptimize\\(")
if(has_optimize)
  runtorva_case(solves_diet 0 "${diet}"
    EXPECT "Model status : Optimal\nObjective value : [-0-9.e+]+\nSimplex iterations : [0-9]+\nSolve time : [0-9]+\\.[0-9][0-9]\n$")
  runtorva_case(quiet 0 "-q --method dual ${diet}" EXPECT "Model status : Optimal")
  # The summary's other statuses, each with exit status 0, whatever the method.
  runtorva_case(infeasible 0 "-q ${cases_dir}/infeasible.mps" EXPECT "\nModel status : Infeasible\n")
  runtorva_case(infeasible_primal 0 "-q --method primal ${cases_dir}/infeasible.mps"
    EXPECT "\nModel status : Infeasible\n")
  runtorva_case(unbounded 0 "-q ${cases_dir}/unbounded.mps" EXPECT "\nModel status : Unbounded\n")
  runtorva_case(unbounded_dual 0 "-q --method dual ${cases_dir}/unbounded.mps" EXPECT "\nModel status : Unbounded\n")
  runtorva_case(iteration_limit 0 "-q --set lp_itrlmt=0 ${diet}" EXPECT "\nModel status : Iteration limit reached\n")
  # --relax: the integer columns become continuous, so no notice, and the LP
  # optimum (x 3, y 1.5) rather than the integer one (-20 at x 4, y 0).
  runtorva_case(relax 0 "-q --relax ${cases_dir}/relax.mps"
    EXPECT "Objective value : -2.1000000000e\\+01" FORBID "integer columns")
endif()
runtorva_case(version 0 "--version" EXPECT "^runtorva \\(TORVA API\\) [0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+, built")
if(has_optimize AND TARGET test_app)
  target_compile_definitions(test_app PRIVATE RUNTORVA_HAVE_OPTIMIZE)
endif()
# A model with integer columns is solved as a MIP (best: x1 + x4, 12; the
# relaxation reaches 13.25), --relax solves its relaxation.
runtorva_case(mip_summary 0 "${cases_dir}/knapsack.mps"
  EXPECT "Model status : Optimal\nObjective value : 1.2000000000e\\+01\nBest bound : 1.2000000000e\\+01\nGap : 0.00%\nNodes : [0-9]+\nSolve time : [0-9]+\\.[0-9][0-9]"
  EXPECT2 "#BRANCHs  #NODEs    #LPs    BEST BOUND")
runtorva_case(mip_relaxed 0 "--relax ${cases_dir}/knapsack.mps"
  EXPECT "Objective value : 1.3250000000e\\+01")
runtorva_case(mip_threads_bad 2 "--threads zero ${cases_dir}/knapsack.mps"
  EXPECT "--threads takes a number of threads")
