// Compiles with pelimon_batch's include directory: the batch sees every folder below it.
#include "batch/image_job.h"
#include "common/result.h"
#include "exif/output_metadata.h"
#include "filelist/file_list.h"
#include "imagelib/imagelib.h"
#include "settings/app_settings.h"
