#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// The root of every object that raises events: handlers receive it as Sender.
class TObject {
public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// A component has an owner that frees it. Create owned components with Owner->Make<T>(...):
// the object is built first and only then handed to its owner, so a constructor that throws
// leaves nothing behind. The owner frees what it owns in reverse order of creation.
class TComponent : public TObject {
public:
  explicit TComponent(TComponent* owner) : owner_(owner) {}
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  ~TComponent() override { DestroyComponents(); }

  // Builds a T owned by this component; T's constructor takes the owner as first argument.
  template <typename T, typename... Args> T* Make(Args&&... args) {
    auto object = std::make_unique<T>(this, std::forward<Args>(args)...);
    T* raw = object.get();
    InsertComponent(std::move(object));
    return raw;
  }
  // Takes ownership of a component built elsewhere.
  void InsertComponent(std::unique_ptr<TComponent> component);
  // Gives up ownership of component (which stays alive in the returned pointer).
  std::unique_ptr<TComponent> RemoveComponent(TComponent* component);

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(index).get(); }
  // The owned component of that name (matched without regard to case), or null.
  TComponent* FindComponent(const std::wstring& name) const;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }

  // True while the component's owner chain is being built from a window layout (between
  // BeginLoading and EndLoading of it or of any owner).
  bool Loading() const { return loading_ > 0 || (owner_ && owner_->Loading()); }
  void BeginLoading() { ++loading_; }
  // Ends loading; at the outermost end every owned component, then this one, is told Loaded().
  void EndLoading();
  // True once this component's owner has started freeing it.
  bool Destroying() const { return destroying_; }

protected:
  // Runs once the layout has been applied (see EndLoading).
  virtual void Loaded() {}
  // Frees every owned component, newest first.
  void DestroyComponents();

private:
  void NotifyLoaded();

  TComponent* owner_;
  std::vector<std::unique_ptr<TComponent>> components_;
  std::wstring name_;
  int loading_ = 0;
  bool destroying_ = false;
};
