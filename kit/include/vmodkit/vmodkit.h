/*
 * vmodkit.h - the front-end kit: every part in one include.
 *
 *   vmodkit_common.h   ownership, errors, text lists
 *   vmodkit_model.h    new models, nodes with the next identifier, copies, saving and
 *                      reading in memory, save-as, text-node fonts
 *   vmodkit_connect.h  whether an arrow may be drawn, and why not
 *   vmodkit_view.h     the view, geometry, hit testing and drawing a whole model
 *   vmodkit_checks.h   readiness, the script's refusals, the operations' order
 *   vmodkit_print.h    pages a print needs, printing chosen pages, paged PostScript
 */
#ifndef VMODKIT_H
#define VMODKIT_H

#include "vmodkit/vmodkit_common.h"
#include "vmodkit/vmodkit_model.h"
#include "vmodkit/vmodkit_connect.h"
#include "vmodkit/vmodkit_view.h"
#include "vmodkit/vmodkit_checks.h"
#include "vmodkit/vmodkit_print.h"
#include "vmodkit/vmodkit_layout.h"

#endif
