/* A minimal C host: creates an environment and three models, lists them,
 * copies one, deletes everything and prints what happened. */
#include <stdio.h>
#include <string.h>

#include "torva.h"

static int fail(const char *what, int code) {
  char msg[140];
  QXgetErrorMessage(NULL, code, msg);
  fprintf(stderr, "%s failed: %d %s\n", what, code, msg);
  return 1;
}

int main(void) {
  int err = 0, count = 0, i;
  QXmodel models[3], listed[4], copy;
  char version[32];
  QXenv env = QXcreateEnv(&err);
  if (!env) return fail("QXcreateEnv", err);
  for (i = 0; i < 3; ++i) {
    models[i] = QXcreateModel(env, &err);
    if (!models[i]) return fail("QXcreateModel", err);
  }
  if ((err = QXgetEnvModelCount(env, &count)) != 0 || count != 3) return fail("QXgetEnvModelCount", err);
  if ((err = QXgetEnvModelList(env, listed)) != 0) return fail("QXgetEnvModelList", err);
  for (i = 0; i < 3; ++i)
    if (listed[i] != models[i]) return fail("creation order", QXERR_INTERNAL_ERROR);
  copy = QXcopyModel(models[1], &err);
  if (!copy) return fail("QXcopyModel", err);
  QXgetEnvModelCount(env, &count);
  if (count != 4) return fail("count after copy", QXERR_INTERNAL_ERROR);
  for (i = 0; i < 3; ++i)
    if ((err = QXdeleteModel(&models[i])) != 0 || models[i] != NULL) return fail("QXdeleteModel", err);
  if ((err = QXdeleteEnv(&env)) != 0 || env != NULL) return fail("QXdeleteEnv", err);
  QXgetVersionInfo(version, NULL);
  printf("TORVA API %s: environment, models and copy handled\n", version);
  return 0;
}
