/* Template of a CMake project that uses an installed TORVA API: loads a
 * two-variable LP from arrays and prints its size. Copy this folder out and
 * point CMAKE_PREFIX_PATH at the installation. */
#include <stdio.h>

#include "torva.h"

int main(void) {
  /* minimise x + 2y subject to x + y >= 1, with 0 <= x, y <= 10 */
  double cost[2] = {1.0, 2.0}, rhs[1] = {1.0}, coef[2] = {1.0, 1.0};
  double lower[2] = {0.0, 0.0}, upper[2] = {10.0, 10.0};
  int colBeg[3] = {0, 1, 2}, rowIdx[2] = {0, 0};
  char types[1] = {'G'};
  int err = 0, n = 0, m = 0;
  QXenv env = QXcreateEnv(&err);
  QXmodel model = env ? QXcreateModel(env, &err) : NULL;
  if (model)
    err = QXloadLPData(model, 1, 2, QX_MIN, 0.0, cost, rhs, types, 2, colBeg, NULL, coef, rowIdx,
                       lower, upper);
  if (!err) err = QXgetInfo(model, QX_IINFO_NUM_VARS, &n);
  if (!err) err = QXgetInfo(model, QX_IINFO_NUM_CONS, &m);
  QXdeleteEnv(&env);
  if (err) {
    char msg[140];
    QXgetErrorMessage(NULL, err, msg);
    fprintf(stderr, "TORVA API error %d: %s\n", err, msg);
    return 1;
  }
  printf("loaded an LP with %d columns and %d rows\n", n, m);
  return 0;
}
