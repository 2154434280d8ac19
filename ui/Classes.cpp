#include "ui/Classes.h"

#include <windows.h>

void TComponent::InsertComponent(std::unique_ptr<TComponent> component) {
  component->owner_ = this;
  components_.push_back(std::move(component));
}

std::unique_ptr<TComponent> TComponent::RemoveComponent(TComponent* component) {
  for (auto it = components_.begin(); it != components_.end(); ++it) {
    if (it->get() != component) continue;
    std::unique_ptr<TComponent> out = std::move(*it);
    components_.erase(it);
    out->owner_ = nullptr;
    return out;
  }
  return nullptr;
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
  for (const auto& c : components_)
    if (!name.empty() && ::lstrcmpiW(c->name_.c_str(), name.c_str()) == 0) return c.get();
  return nullptr;
}

void TComponent::EndLoading() {
  if (loading_ == 0) return;
  if (--loading_ == 0 && !(owner_ && owner_->Loading())) NotifyLoaded();
}

void TComponent::NotifyLoaded() {
  for (const auto& c : components_)
    if (c->loading_ == 0) c->NotifyLoaded();
  Loaded();
}

void TComponent::DestroyComponents() {
  for (const auto& c : components_)
    c->destroying_ = true;
  // Each is taken out of the list before it dies, so a component that looks up its siblings
  // while being freed never meets a dangling one.
  while (!components_.empty()) {
    std::unique_ptr<TComponent> last = std::move(components_.back());
    components_.pop_back();
    last.reset();
  }
}
