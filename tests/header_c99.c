/* The public header must compile on its own as strict C99. */
#include "torva.h"

int torva_header_c99_check(void);
int torva_header_c99_check(void) {
  QXenv env = 0;
  QXmodel model = 0;
  (void)env;
  (void)model;
  return QXERR_NO_ERROR;
}

/* The API frame as a C host declares it: each function of the environment,
 * message, parameter and version families fits a pointer of its documented
 * type, so that a host passes its arguments in the right order and kind.
 * An incompatible declaration is a compile error under -pedantic-errors. */
typedef void (*EnvLog)(QXenv env, const char *text, void *userdata);
typedef void (*ModelLog)(QXmodel model, const char *text, void *userdata);

int torva_header_c99_frame(void);
int torva_header_c99_frame(void) {
  QXenv (*createEnv)(int *) = QXcreateEnv;
  int (*deleteEnv)(QXenv *) = QXdeleteEnv;
  QXmodel (*createModel)(QXenv, int *) = QXcreateModel;
  int (*deleteModel)(QXmodel *) = QXdeleteModel;
  QXmodel (*copyModel)(QXmodel, int *) = QXcopyModel;
  int (*modelEnv)(QXmodel, QXenv *) = QXgetModelEnv;
  int (*modelCount)(QXenv, int *) = QXgetEnvModelCount;
  int (*modelList)(QXenv, QXmodel *) = QXgetEnvModelList;
  int (*envLog)(QXenv, EnvLog, void *) = QXsetEnvLogfunc;
  int (*modelLog)(QXmodel, ModelLog, void *) = QXsetModelLogfunc;
  void (*freeSolver)(QXmodel) = QXfreeSolverMemory;
  void (*freeSolution)(QXmodel) = QXfreeSolutionMemory;
  void (*freeMip)(QXmodel) = QXfreeMIPSolutionMemory;
  void (*freeGop)(QXmodel) = QXfreeGOPSolutionMemory;
  void (*freeNlp)(QXmodel) = QXfreeNLPSolverMemory;
  void (*freeHash)(QXmodel) = QXfreeHashMemory;
  int (*freeNames)(QXmodel) = QXfreeNameData;
  int (*errorMessage)(QXenv, int, char *) = QXgetErrorMessage;
  int (*fileError)(QXmodel, int *, char *) = QXgetFileError;
  int (*errorRow)(QXmodel, int *) = QXgetErrorRowIndex;
  int (*setMi)(QXmodel, int, int) = QXsetModelIntParameter;
  int (*setMd)(QXmodel, int, double) = QXsetModelDouParameter;
  int (*getMi)(QXmodel, int, int *) = QXgetModelIntParameter;
  int (*getMd)(QXmodel, int, double *) = QXgetModelDouParameter;
  int (*setM)(QXmodel, int, void *) = QXsetModelParameter;
  int (*getM)(QXmodel, int, void *) = QXgetModelParameter;
  int (*setEi)(QXenv, int, int) = QXsetEnvIntParameter;
  int (*setEd)(QXenv, int, double) = QXsetEnvDouParameter;
  int (*getEi)(QXenv, int, int *) = QXgetEnvIntParameter;
  int (*getEd)(QXenv, int, double *) = QXgetEnvDouParameter;
  int (*setE)(QXenv, int, void *) = QXsetEnvParameter;
  int (*getE)(QXenv, int, void *) = QXgetEnvParameter;
  int (*rangeI)(QXmodel, int, int *, int *) = QXgetIntParameterRange;
  int (*rangeD)(QXmodel, int, double *, double *) = QXgetDouParameterRange;
  int (*copyParam)(QXmodel, QXmodel, int) = QXcopyParam;
  int (*copyGa)(QXmodel, QXmodel) = QXcopyGAParam;
  int (*paramCount)(QXenv, int) = QXgetParamCount;
  int (*macroName)(QXenv, int, char *) = QXgetParamMacroName;
  int (*shortDesc)(QXenv, int, char *) = QXgetParamShortDesc;
  int (*longDesc)(QXenv, int, char *) = QXgetParamLongDesc;
  char *(*macroNamePtr)(QXenv, int) = QXgetParamMacroNamePtr;
  const char *(*shortDescPtr)(QXenv, int) = 0;
  int (*macroId)(QXenv, const char *, int *, int *) = QXgetParamMacroID;
  int (*search)(QXenv, const char *, int *, int *) = QXsearchParamHasKeyword;
  int (*versionInfo)(char *, char *) = QXgetVersionInfo;
  int (*info)(QXmodel, int, void *) = QXgetInfo;
  /* A host may keep the documentation texts behind a const pointer too. */
  const char *text = QXgetParamShortDescPtr(0, QX_IPARAM_LP_ITRLMT);
  char *plain = QXgetParamLongDescPtr(0, QX_IPARAM_ITRLMT);
  int sense = QX_MAX, all = 0;
  (void)shortDescPtr;
  all += createEnv != 0;
  all += deleteEnv != 0;
  all += createModel != 0;
  all += deleteModel != 0;
  all += copyModel != 0;
  all += modelEnv != 0;
  all += modelCount != 0;
  all += modelList != 0;
  all += envLog != 0;
  all += modelLog != 0;
  all += freeSolver != 0;
  all += freeSolution != 0;
  all += freeMip != 0;
  all += freeGop != 0;
  all += freeNlp != 0;
  all += freeHash != 0;
  all += freeNames != 0;
  all += errorMessage != 0;
  all += fileError != 0;
  all += errorRow != 0;
  all += setMi != 0;
  all += setMd != 0;
  all += getMi != 0;
  all += getMd != 0;
  all += setM != 0;
  all += getM != 0;
  all += setEi != 0;
  all += setEd != 0;
  all += getEi != 0;
  all += getEd != 0;
  all += setE != 0;
  all += getE != 0;
  all += rangeI != 0;
  all += rangeD != 0;
  all += copyParam != 0;
  all += copyGa != 0;
  all += paramCount != 0;
  all += macroName != 0;
  all += shortDesc != 0;
  all += longDesc != 0;
  all += macroNamePtr != 0;
  all += macroId != 0;
  all += search != 0;
  all += versionInfo != 0;
  all += info != 0;
  all += text != 0;
  all += plain != 0;
  return all + sense + QX_MTMODE_FREE + QX_IIS_DEFAULT + QX_METHOD_STOC_FREE + QX_DETEQ_FREE +
         QX_SCEN_AVRG;
}
