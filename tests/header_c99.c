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

/* What a C host relies on beyond compiling: the documentation texts behind
 * const or plain pointers as the header types them, and the constant groups
 * that live beside their functions. */
int torva_header_c99_frame(void);
int torva_header_c99_frame(void) {
  const char *text = QXgetParamShortDescPtr(0, QX_IPARAM_LP_ITRLMT);
  char *plain = QXgetParamLongDescPtr(0, QX_IPARAM_ITRLMT);
  return (text != 0) + (plain != 0) + QX_MAX + QX_MTMODE_FREE + QX_IIS_DEFAULT +
         QX_METHOD_STOC_FREE + QX_DETEQ_FREE + QX_SCEN_AVRG;
}
