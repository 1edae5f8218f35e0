# The progress dialog (part of pelimon_gui).
pelimon_gui_sources(cproc_msg.cpp cproc_msg.h)
