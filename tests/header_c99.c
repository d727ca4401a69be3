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
