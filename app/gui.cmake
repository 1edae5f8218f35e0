# The main window (part of pelimon_gui), its help page and the desktop integration.

pelimon_gui_sources(
    batch_controller.cpp batch_controller.h
    cpelimon_dlg.cpp cpelimon_dlg.h
    cpelimon_dlg_batch.cpp
    cpelimon_dlg_list.cpp
    cpelimon_dlg_settings.cpp
    cpelimon_dlg_texts.h
    file_list_model.cpp file_list_model.h
    gui_interaction.cpp gui_interaction.h
    gui_main.cpp gui_main.h
    help_page.cpp help_page.h)

# The installed help folder, the last place the program looks for its help page.
set_property(SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/help_page.cpp DIRECTORY ${PROJECT_SOURCE_DIR}
             APPEND PROPERTY COMPILE_DEFINITIONS
             PELIMON_INSTALLED_HELP_DIR="${CMAKE_INSTALL_FULL_DATADIR}/pelimon/help")

# The program opens its window when a display is available.
target_link_libraries(pelimon PRIVATE pelimon_gui)
target_compile_definitions(pelimon PRIVATE PELIMON_WITH_GUI)

# In the build tree the help page sits beside the program (help/index.html).
set(pelimon_help_source ${PROJECT_SOURCE_DIR}/res/help)
file(GLOB pelimon_help_files CONFIGURE_DEPENDS ${pelimon_help_source}/*)
foreach(help_file IN LISTS pelimon_help_files)
    get_filename_component(help_name ${help_file} NAME)
    configure_file(${help_file} ${CMAKE_CURRENT_BINARY_DIR}/help/${help_name} COPYONLY)
endforeach()

install(DIRECTORY ${pelimon_help_source}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/pelimon/help)
install(FILES ${PROJECT_SOURCE_DIR}/res/pelimon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/pelimon.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The README's screenshot (docs/make-screenshot.sh); built only on request.
add_executable(pelimon_screenshot EXCLUDE_FROM_ALL ${PROJECT_SOURCE_DIR}/docs/make_screenshot.cpp)
target_link_libraries(pelimon_screenshot PRIVATE pelimon_gui)
pelimon_warnings(pelimon_screenshot)
