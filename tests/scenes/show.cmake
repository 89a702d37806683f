redkite_scene_test(show_tests SOURCES ShowTest.cpp SceneGeometryTest.cpp)
