# pelimon_gui: the Qt widgets of every folder (gathered with pelimon_gui_sources), on top of the core.
get_property(gui_sources GLOBAL PROPERTY PELIMON_GUI_SOURCES)
if(gui_sources)
    add_library(pelimon_gui STATIC ${gui_sources})
    set_target_properties(pelimon_gui PROPERTIES AUTOMOC ON AUTORCC ON AUTOUIC OFF)
    target_include_directories(pelimon_gui PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(pelimon_gui PUBLIC pelimon_core Qt6::Widgets Qt6::Gui Qt6::Core)
    pelimon_warnings(pelimon_gui)
endif()
