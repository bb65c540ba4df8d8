/* Resource ids of tslplay32, one header per subsystem (ids_*.h); the
   strings themselves live in strings_*.rc, code page 1252. */
#ifndef TSL_RESOURCE_H
#define TSL_RESOURCE_H
#include "ids_foundation.h"
#include "ids_engine.h"
#include "ids_imaging.h"
#include "ids_objects.h"
#include "ids_actions.h"
#include "ids_database.h"
#include "ids_slideshow.h"
#endif
