#The styled list control(part of pelimon_gui) : Qt - free style records and resolution rules,
#the table model and the view that paints them.
pelimon_gui_sources(styled_list_style.cpp styled_list_model.cpp clistctrl_styled.cpp)
