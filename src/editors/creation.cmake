# Creating primary zones: the skeleton, the wizard's checks and fast add in the core, their windows in the
# windows' library.
target_sources(quorvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/fastadd.cpp ${CMAKE_CURRENT_LIST_DIR}/fastadd.h
    ${CMAKE_CURRENT_LIST_DIR}/primaryzonecreation.cpp ${CMAKE_CURRENT_LIST_DIR}/primaryzonecreation.h)
target_sources(quorvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/primarywizard.cpp ${CMAKE_CURRENT_LIST_DIR}/primarywizard.h)
