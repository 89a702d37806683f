# The eighth and ninth scenes, the credits and the closing scene, on the trace device with the content.
redkite_scene_test(closing_scene_tests SOURCES EighthSceneTest.cpp NinthSceneTest.cpp CreditsSceneTest.cpp
                   ClosingSceneTest.cpp)
