# The opening scene, its flash variant and the second scene, on the trace device with the content.
redkite_scene_test(opening_scene_tests SOURCES OpeningSceneTest.cpp OpeningFlashTest.cpp SecondSceneTest.cpp
                   WholeSlotsTest.cpp)
