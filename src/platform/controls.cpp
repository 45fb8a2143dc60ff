#include "platform/controls.h"

#include <algorithm>

namespace tavrel::platform {

const char* KindName(ControlKind kind) {
  switch (kind) {
    case ControlKind::Picture: return "picture";
    case ControlKind::Label: return "label";
    case ControlKind::List: return "list";
    case ControlKind::TextBox: return "text box";
  }
  return "?";
}

std::string DescribeMismatch(const std::string& form, const KindMismatch& m) {
  std::string where = form + "." + m.name;
  if (m.index >= 0) where += "(" + std::to_string(m.index) + ")";
  return where + " looked up as a " + KindName(m.wanted) + " but is a " + KindName(m.actual);
}

Control::Control(Form* form, std::string name, int index, ControlKind kind)
    : form_(form), name_(std::move(name)), index_(index), kind_(kind) {}

void Control::Touch() {
  ++changes_;
  form_->Touch();
}

void Control::SetVisible(bool v) {
  if (visible_ != v) { visible_ = v; Touch(); }
}
void Control::SetEnabled(bool v) {
  if (enabled_ != v) { enabled_ = v; Touch(); }
}
void Control::Move(double left, double top) { Move(left, top, rect_.width, rect_.height); }
void Control::Move(double left, double top, double width, double height) {
  if (rect_.left != left || rect_.top != top || rect_.width != width || rect_.height != height) {
    rect_ = {left, top, std::max(0.0, width), std::max(0.0, height)};
    Touch();
  }
}
void Control::SetPicture(int id) {
  if (picture_ != id) { picture_ = id; Touch(); }
}
void Control::SetPictureClip(Rect clip) {
  const Rect& c = pictureClip_;
  if (c.left != clip.left || c.top != clip.top || c.width != clip.width || c.height != clip.height) {
    pictureClip_ = clip;
    Touch();
  }
}
void Control::SetPictureRect(Rect area) {
  const Rect& a = pictureRect_;
  if (a.left != area.left || a.top != area.top || a.width != area.width || a.height != area.height) {
    pictureRect_ = area;
    Touch();
  }
}
void Control::SetCaption(std::string text) {
  if (caption_ != text) { caption_ = std::move(text); Touch(); }
}
void Control::SetForeColor(std::uint32_t c) {
  if (foreColor_ != c) { foreColor_ = c; Touch(); }
}
void Control::SetBackColor(std::uint32_t c) {
  if (backColor_ != c) { backColor_ = c; Touch(); }
}
void Control::SetBackTransparent(bool v) {
  if (backTransparent_ != v) { backTransparent_ = v; Touch(); }
}
void Control::SetFont(double size, bool bold) {
  if (fontSize_ != size || fontBold_ != bold) { fontSize_ = size; fontBold_ = bold; Touch(); }
}
void Control::SetToolTip(std::string text) {
  if (toolTip_ != text) { toolTip_ = std::move(text); Touch(); }
}
void Control::SetMousePointer(int pointer) {
  if (mousePointer_ != pointer) { mousePointer_ = pointer; Touch(); }
}
void Control::SetContainer(std::string containerName) {
  if (container_ != containerName) { container_ = std::move(containerName); Touch(); }
}
void Control::SetAlignment(int a) {
  if (alignment_ != a) { alignment_ = a; Touch(); }
}
void Control::BringToFront() { z_ = form_->NextFrontZ(); Touch(); }
void Control::SendToBack() { z_ = form_->NextBackZ(); Touch(); }

void Control::SetSelStart(int chars) {
  selStart_ = chars < 0 ? 0 : chars;
  ++selStartRequests_;
  Touch();
}

void Control::AddItem(std::string text) { items_.push_back(std::move(text)); Touch(); }
void Control::AddItemAt(std::string text, int position) {
  position = std::clamp(position, 0, ListCount());
  items_.insert(items_.begin() + position, std::move(text));
  Touch();
}
void Control::RemoveItem(int position) {
  if (position < 0 || position >= ListCount()) return;
  items_.erase(items_.begin() + position);
  if (listIndex_ >= ListCount()) listIndex_ = ListCount() - 1;
  Touch();
}
void Control::SetItem(int position, std::string text) {
  if (position < 0 || position >= ListCount()) return;
  items_[position] = std::move(text);
  Touch();
}
void Control::Clear() {
  if (items_.empty() && listIndex_ == -1) return;
  items_.clear();
  listIndex_ = -1;
  topIndex_ = 0;
  Touch();
}
void Control::SetListIndex(int i) {
  i = std::clamp(i, -1, ListCount() - 1);
  if (listIndex_ != i) { listIndex_ = i; Touch(); }
}
void Control::SetTopIndex(int i) {
  i = std::clamp(i, 0, std::max(0, ListCount() - 1));
  if (topIndex_ != i) { topIndex_ = i; Touch(); }
}

Form::Form(std::string name) : name_(std::move(name)) {}

void Form::CheckKind(const Control& c, ControlKind wanted) const {
  if (c.Kind() == wanted) return;
  mismatches_.push_back({c.Name(), c.Index(), wanted, c.Kind()});
  if (onKindMismatch) onKindMismatch(mismatches_.back());
}

Control& Form::Add(const std::string& name, ControlKind kind, int index) {
  if (Control* c = Find(name, index)) {
    CheckKind(*c, kind);
    return *c;
  }
  controls_.push_back(std::make_unique<Control>(this, name, index, kind));
  Control& c = *controls_.back();
  byName_[{name, index}] = &c;
  // New controls stand in front of older ones, as controls created at run time do.
  c.BringToFront();
  Touch();
  return c;
}

Control* Form::Find(std::string_view name, int index) {
  auto it = byName_.find(std::pair<std::string_view, int>{name, index});
  return it == byName_.end() ? nullptr : it->second;
}
const Control* Form::Find(std::string_view name, int index) const {
  auto it = byName_.find(std::pair<std::string_view, int>{name, index});
  return it == byName_.end() ? nullptr : it->second;
}
Control& Form::Get(const std::string& name, int index, ControlKind kind) {
  return Add(name, kind, index);
}
Control* Form::Find(const ControlName& name, int index) {
  Control* c = Find(std::string_view(name.name), index);
  if (c) CheckKind(*c, name.kind);
  return c;
}
const Control* Form::Find(const ControlName& name, int index) const {
  const Control* c = Find(std::string_view(name.name), index);
  if (c) CheckKind(*c, name.kind);
  return c;
}

void Form::Show() {
  loaded_ = true;
  if (!visible_) { visible_ = true; Touch(); }
}
void Form::Hide() {
  if (visible_) { visible_ = false; Touch(); }
}
void Form::Load() {
  if (!loaded_) { loaded_ = true; Touch(); }
}
void Form::Unload() {
  if (loaded_ || visible_) { loaded_ = false; visible_ = false; Touch(); }
}
void Form::SetCaption(std::string c) {
  if (caption_ != c) { caption_ = std::move(c); Touch(); }
}
void Form::Move(double left, double top) { Move(left, top, rect_.width, rect_.height); }
void Form::Move(double left, double top, double width, double height) {
  if (rect_.left != left || rect_.top != top || rect_.width != width || rect_.height != height) {
    rect_ = {left, top, width, height};
    Touch();
  }
}
void Form::SetTopmost(bool v) {
  if (topmost_ != v) { topmost_ = v; Touch(); }
}
void Form::SetAlpha(int a) {
  a = std::clamp(a, 0, 255);
  if (alpha_ != a) { alpha_ = a; Touch(); }
}
void Form::SetState(WindowState s) {
  if (state_ != s) { state_ = s; Touch(); }
}
void Form::SetShowsWithoutFocus(bool v) {
  if (showsWithoutFocus_ != v) { showsWithoutFocus_ = v; Touch(); }
}
void Form::SetFrameless(bool v) {
  if (frameless_ != v) { frameless_ = v; Touch(); }
}
void Form::SetRegion(std::vector<Rect> region) { region_ = std::move(region); Touch(); }
void Form::SetFocus(std::string controlName) {
  if (focus_ != controlName) { focus_ = std::move(controlName); Touch(); }
}

void Form::On(const std::string& control, UiEventType type, Handler handler) {
  handlers_[{control, type}].push_back(std::move(handler));
  ++handlerChanges_;
}

void Form::Dispatch(const UiEvent& e) {
  if (acceptsInput && !acceptsInput(e)) return;
  auto it = handlers_.find({e.control, e.type});
  if (it == handlers_.end()) return;
  // Copy: a handler may register further handlers.
  auto list = it->second;
  for (auto& h : list) h(e);
}

bool Form::HasHandler(const std::string& control, UiEventType type) const {
  return handlers_.count({control, type}) > 0;
}

Form& Ui::form(std::string_view name) {
  auto it = forms_.find(name);
  if (it != forms_.end()) return *it->second;
  auto& f = forms_[std::string(name)];
  f = std::make_unique<Form>(std::string(name));
  f->onKindMismatch = [this, name = std::string(name)](const KindMismatch& m) {
    if (onKindMismatch) onKindMismatch(name, m);
  };
  f->acceptsInput = [this, name = std::string(name)](const UiEvent& e) {
    return !acceptsInput || acceptsInput(name, e);
  };
  if (onFormCreated) onFormCreated(*f);
  return *f;
}

Form* Ui::Find(std::string_view name) {
  auto it = forms_.find(name);
  return it == forms_.end() ? nullptr : it->second.get();
}

struct Ui::Saved {
  struct SavedForm {
    Form* form;
    FormState state;
    std::vector<Control> controls;  // in the form's order
    std::map<std::pair<std::string, UiEventType>, std::vector<Form::Handler>> handlers;
    std::uint64_t handlerChanges;
    std::size_t mismatches;  // the record only grows
  };
  std::vector<SavedForm> forms;
};

std::shared_ptr<const Ui::Saved> Ui::Save() const {
  auto saved = std::make_shared<Saved>();
  for (const auto& [name, form] : forms_) {
    auto& f = saved->forms.emplace_back(
        Saved::SavedForm{form.get(), *form, {}, form->handlers_, form->handlerChanges_, form->mismatches_.size()});
    f.controls.reserve(form->controls_.size());
    for (const auto& c : form->controls_) f.controls.push_back(*c);
  }
  return saved;
}

void Ui::Restore(const Saved& saved) {
  std::erase_if(forms_, [&](const auto& entry) {
    return std::none_of(saved.forms.begin(), saved.forms.end(),
                        [&](const Saved::SavedForm& f) { return f.form == entry.second.get(); });
  });
  for (const auto& f : saved.forms) {
    Form& form = *f.form;
    auto& controls = form.controls_;
    while (controls.size() > f.controls.size()) {
      form.byName_.erase({controls.back()->Name(), controls.back()->Index()});
      controls.pop_back();
    }
    // Every change of a control is counted, but for the free tag: a control
    // whose count stands still kept its state.
    for (std::size_t i = 0; i < controls.size(); ++i) {
      Control& c = *controls[i];
      if (c.changes_ != f.controls[i].changes_) {
        c = f.controls[i];
      } else if (c.tag != f.controls[i].tag) {
        c.tag = f.controls[i].tag;
      }
    }
    static_cast<FormState&>(form) = f.state;
    if (form.mismatches_.size() > f.mismatches)
      form.mismatches_.erase(form.mismatches_.begin() + static_cast<std::ptrdiff_t>(f.mismatches), form.mismatches_.end());
    if (form.handlerChanges_ != f.handlerChanges) {
      form.handlers_ = f.handlers;
      form.handlerChanges_ = f.handlerChanges;
    }
  }
}

}  // namespace tavrel::platform
