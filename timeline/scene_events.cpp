#include "timeline/scene_events.h"

#include "resources/scene_manager.h"

namespace hlv {

EvtLoadScene::EvtLoadScene(float time, const char* fileName_) : TimeLineEvent(time), fileName(fileName_) {}

void EvtLoadScene::execute(float)
{
    sceneManager.load(fileName.c_str(), true);
}

EvtUnloadScene::EvtUnloadScene(float time, const char* fileName_) : TimeLineEvent(time), fileName(fileName_) {}

void EvtUnloadScene::execute(float)
{
    sceneManager.release(fileName.c_str());
}

} // namespace hlv
