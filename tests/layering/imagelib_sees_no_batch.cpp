// Does not compile with pelimon_imagelib's include directory: the image library sees no higher folder.
#include "batch/image_job.h"
