# Main window behaviour: automatic stepping, the claim, the settings menus,
# the interval dialog, a randomized run and one run on the real timer.
kugelfon_add_test(test_automatic SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_automatic.cpp)
kugelfon_add_test(test_bingo SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_bingo.cpp)
kugelfon_add_test(test_settingsmenus SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_settingsmenus.cpp)
kugelfon_add_test(test_intervaldialog SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_intervaldialog.cpp)
# 100,000 random actions; about 3x slower under the sanitizers.
kugelfon_add_test(test_randomized SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_randomized.cpp TIMEOUT 600)
# Runs about 5 s on the real clock.
kugelfon_add_test(test_realtimer SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_realtimer.cpp TIMEOUT 60)
