# The fifth scene and its alternate view, the sixth and the seventh scenes: pure rules and frames
# on the trace device with the generated content.
redkite_scene_test(fifth_group_tests SOURCES
  FifthSceneRulesTest.cpp
  SixthSeventhRulesTest.cpp
  FifthSceneFrameTest.cpp
  SixthSceneFrameTest.cpp
  SeventhSceneFrameTest.cpp)
