# Creating primary zones: the skeleton, the wizard's checks and fast add in the core, their windows in the
# windows' library.
target_sources(quorvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/fastadd.cpp ${CMAKE_CURRENT_LIST_DIR}/fastadd.h
    ${CMAKE_CURRENT_LIST_DIR}/primaryzonecreation.cpp ${CMAKE_CURRENT_LIST_DIR}/primaryzonecreation.h)
target_sources(quorvane_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/primarywizard.cpp ${CMAKE_CURRENT_LIST_DIR}/primarywizard.h)
target_sources(quorvane_gui PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/tcreatenewprim.cpp ${CMAKE_CURRENT_LIST_DIR}/tcreatenewprim.h
    ${CMAKE_CURRENT_LIST_DIR}/tfastadd.cpp ${CMAKE_CURRENT_LIST_DIR}/tfastadd.h
    ${CMAKE_CURRENT_LIST_DIR}/tprimarywiz.cpp ${CMAKE_CURRENT_LIST_DIR}/tprimarywiz.h
    ${CMAKE_CURRENT_LIST_DIR}/twizhostselect.cpp ${CMAKE_CURRENT_LIST_DIR}/twizhostselect.h
    ${CMAKE_CURRENT_LIST_DIR}/zonecreationactions.cpp ${CMAKE_CURRENT_LIST_DIR}/zonecreationactions.h)
