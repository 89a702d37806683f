# The third scene, its flash variant and the fourth scene: pure rules, and frames on the trace
# device with the generated content. The run-long state of the third scene's pulses and of the
# fourth scene's spectrum history is walked in binaries of their own, so nothing drawn before
# changes it.
redkite_scene_test(organ_rules_tests SOURCES OrganRulesTest.cpp)
redkite_scene_test(organ_frame_tests SOURCES ThirdSceneFrameTest.cpp ThirdFlashFrameTest.cpp FourthSceneFrameTest.cpp)
redkite_scene_test(third_scene_pulse_tests SOURCES ThirdScenePulseTest.cpp)
redkite_scene_test(fourth_scene_history_tests SOURCES FourthSceneHistoryTest.cpp)
