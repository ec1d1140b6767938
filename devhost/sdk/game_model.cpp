#include "sdk/game_model.h"

#include <algorithm>
#include <iterator>

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

void GameModel::AddDrawable(PluginTag* owner, GameWrapper::Drawable fn) {
  drawables_.push_back(
      std::make_shared<const RegisteredDrawable>(RegisteredDrawable{owner, std::move(fn)}));
}

DrawableList GameModel::TakeDrawablesOwnedBy(const PluginTag* owner) {
  const auto owned = [owner](const auto& drawable) { return drawable->owner == owner; };
  DrawableList taken;
  std::copy_if(drawables_.begin(), drawables_.end(), std::back_inserter(taken), owned);
  std::erase_if(drawables_, owned);
  return taken;
}

}  // namespace devhost
