#include "sdk/game_model.h"

#include <algorithm>

namespace devhost {

GameModel::GameModel() : ModelObject{"game"} {
  gameState.id = "gameState";
  carArray.id = "cars";
  camera.id = "camera";
  gameState.cars = &carArray;
}

void GameModel::EnsureCars(std::size_t count) {
  while (cars_.size() < count) {
    auto car = std::make_unique<CarState>();
    car->id = "car:" + std::to_string(cars_.size());
    cars_.push_back(std::move(car));
  }
}

void GameModel::AddDrawable(const PluginTag* owner, GameWrapper::Drawable fn) {
  drawables_.push_back({owner, std::move(fn)});
}

void GameModel::RemoveDrawablesOwnedBy(const PluginTag* owner) {
  std::erase_if(drawables_, [owner](const RegisteredDrawable& d) { return d.owner == owner; });
}

}  // namespace devhost
