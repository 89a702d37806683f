// The fourteen scene renderers and the call the app makes for the renderer the schedule picked.
// Each renderer draws and presents one whole frame for its scene time and the music time.
#pragma once

#include "timeline/Schedule.h"
#include "timeline/Stages.h"

namespace scenes {

void openingScene(timeline::MainStage& stage, float sceneTime, float musicTime);
void openingFlash(timeline::MainStage& stage, float sceneTime, float musicTime);
void secondScene(timeline::MainStage& stage, float sceneTime, float musicTime);
void thirdScene(timeline::OrganStage& stage, float sceneTime, float musicTime);
void thirdFlash(timeline::MainStage& stage, float sceneTime, float musicTime, int beat, float flash);
void fourthScene(timeline::OrganStage& stage, float sceneTime, float musicTime);
void fifthSceneA(timeline::MainStage& stage, float sceneTime, float musicTime, int variant);
void fifthSceneB(timeline::MainStage& stage, float sceneTime, float musicTime, int variant);
void sixthScene(timeline::MainStage& stage, float sceneTime, float musicTime);
void seventhScene(timeline::MainStage& stage, float sceneTime, float musicTime);
void eighthScene(timeline::MainStage& stage, float sceneTime, float musicTime);
void ninthScene(timeline::MainStage& stage, float sceneTime, float musicTime);
void creditsScene(timeline::MainStage& stage, float sceneTime, float musicTime);
void closingScene(timeline::MainStage& stage, float sceneTime, float musicTime);

// Writes the scene event to the frame trace and calls the renderer with its stage and arguments.
void drawScene(const timeline::SceneCall& call, timeline::OrganStage& organ, timeline::MainStage& main);

}  // namespace scenes
