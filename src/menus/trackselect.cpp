#include "menus/trackselect.h"

int gSelectedTrack = 0;
