# Creating primary zones: the skeleton, fast add and the wizard.
set(creation_support ${CMAKE_CURRENT_LIST_DIR}/../secondary/serverfixture.cpp ${CMAKE_CURRENT_LIST_DIR}/../zone/zonecheck.cpp)
quorvane_add_test(tst_zonecreation ${CMAKE_CURRENT_LIST_DIR}/tst_zonecreation.cpp ${creation_support})
quorvane_add_test(tst_primarywizard ${CMAKE_CURRENT_LIST_DIR}/tst_primarywizard.cpp ${creation_support})
quorvane_add_test(tst_creationcli ${CMAKE_CURRENT_LIST_DIR}/tst_creationcli.cpp ${CMAKE_CURRENT_LIST_DIR}/../zone/zonecheck.cpp)
quorvane_add_test(tst_creationwindows ${CMAKE_CURRENT_LIST_DIR}/tst_creationwindows.cpp ${CMAKE_CURRENT_LIST_DIR}/../secondary/serverfixture.cpp GUI)
