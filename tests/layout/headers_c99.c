/* The public headers must compile as strict C99. */
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

int main(void) { return (int)sizeof(Vmod_Model) == 0; }
