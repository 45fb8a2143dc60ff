#pragma once
// The retained model of the windows: forms holding controls (pictures, labels,
// lists, text boxes) under the names the table client gives them. The model is
// the truth; a backend draws it and feeds input back as UiEvents. Every change
// bumps the form's revision so that a backend redraws only what changed.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tavrel::platform {

enum class ControlKind { Picture, Label, List, TextBox };
const char* KindName(ControlKind kind);

// A control's name together with the kind it is (src/platform/names.h lists them all).
struct ControlName {
  const char* name;
  ControlKind kind;
};

// A lookup that asked for a control under a kind it does not have.
struct KindMismatch {
  std::string name;
  int index = -1;
  ControlKind wanted = ControlKind::Picture;
  ControlKind actual = ControlKind::Picture;
};
// "Main.Cash(2) looked up as a picture but is a label".
std::string DescribeMismatch(const std::string& form, const KindMismatch& m);

// Colours are 24-bit with red in the low byte (255 red, 65280 green).
inline constexpr std::uint32_t kBlack = 0;
inline constexpr std::uint32_t kRed = 255;
inline constexpr std::uint32_t kGreen = 65280;
inline constexpr std::uint32_t kWhite = 0xFFFFFF;

// Mouse pointers as the table client numbers them.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerArrow = 1;
inline constexpr int kPointerSizeAll = 15;
inline constexpr int kPointerCustomHand = 99;

struct Rect {
  double left = 0, top = 0, width = 0, height = 0;
  bool Contains(double x, double y) const { return x >= left && y >= top && x < left + width && y < top + height; }
};

class Form;

class Control {
 public:
  Control(Form* form, std::string name, int index, ControlKind kind);

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }  // -1 for a control that is not in an array
  ControlKind Kind() const { return kind_; }
  Form& Owner() const { return *form_; }

  bool Visible() const { return visible_; }
  bool Enabled() const { return enabled_; }
  double Left() const { return rect_.left; }
  double Top() const { return rect_.top; }
  double Width() const { return rect_.width; }
  double Height() const { return rect_.height; }
  const Rect& Bounds() const { return rect_; }
  int Picture() const { return picture_; }  // resource id, 0 = none
  // The part of the picture shown (picture pixels), stretched to the control; empty = all of it.
  const Rect& PictureClip() const { return pictureClip_; }
  // Where the picture is drawn inside the control (control pixels); empty = the whole control.
  // The rest of the control shows the back colour unless the back is transparent.
  const Rect& PictureRect() const { return pictureRect_; }
  const std::string& Caption() const { return caption_; }
  std::uint32_t ForeColor() const { return foreColor_; }
  std::uint32_t BackColor() const { return backColor_; }
  bool BackTransparent() const { return backTransparent_; }
  double FontSize() const { return fontSize_; }
  bool FontBold() const { return fontBold_; }
  int Z() const { return z_; }
  const std::string& ToolTip() const { return toolTip_; }
  int MousePointer() const { return mousePointer_; }
  const std::string& Container() const { return container_; }
  int Alignment() const { return alignment_; }  // 0 left, 1 right, 2 centre

  void SetVisible(bool v);
  void SetEnabled(bool v);
  void Move(double left, double top);
  void Move(double left, double top, double width, double height);
  void SetLeft(double v) { Move(v, rect_.top); }
  void SetTop(double v) { Move(rect_.left, v); }
  void SetSize(double width, double height) { Move(rect_.left, rect_.top, width, height); }
  void SetPicture(int resourceId);
  void SetPictureClip(Rect clip);
  void SetPictureRect(Rect area);
  void SetCaption(std::string text);
  void SetForeColor(std::uint32_t c);
  void SetBackColor(std::uint32_t c);
  void SetBackTransparent(bool v);
  void SetFont(double size, bool bold = false);
  void SetToolTip(std::string text);
  void SetMousePointer(int pointer);
  void SetContainer(std::string containerName);
  void SetAlignment(int a);
  void BringToFront();  // ZOrder 0
  void SendToBack();    // ZOrder 1

  // Lists.
  const std::vector<std::string>& Items() const { return items_; }
  int ListCount() const { return static_cast<int>(items_.size()); }
  int ListIndex() const { return listIndex_; }
  int TopIndex() const { return topIndex_; }
  void AddItem(std::string text);
  void AddItemAt(std::string text, int position);
  void RemoveItem(int position);
  void SetItem(int position, std::string text);
  void Clear();
  void SetListIndex(int i);
  void SetTopIndex(int i);

  // Text boxes: caption is the text. Selection and focus for input.
  const std::string& Text() const { return caption_; }
  void SetText(std::string t) { SetCaption(std::move(t)); }
  // The caret of a text box, in characters from the start of its text. A Part
  // places it with SetSelStart (the backend applies each request once); the
  // backend reports where the user moved it with NoteSelStart.
  int SelStart() const { return selStart_; }
  void SetSelStart(int chars);
  void NoteSelStart(int chars) {
    selStart_ = chars < 0 ? 0 : chars;
    ++changes_;  // counted for Ui::Restore; the backend that reported it needs no redraw
  }
  std::uint64_t SelStartRequests() const { return selStartRequests_; }

  // Free slots for the Parts' own per-control data.
  std::string tag;

 private:
  friend class Ui;
  void Touch();

  Form* form_;
  std::string name_;
  int index_;
  ControlKind kind_;
  bool visible_ = true;
  bool enabled_ = true;
  Rect rect_;
  int picture_ = 0;
  Rect pictureClip_;
  Rect pictureRect_;
  std::string caption_;
  std::uint32_t foreColor_ = kBlack;
  std::uint32_t backColor_ = kWhite;
  bool backTransparent_ = true;
  double fontSize_ = 9;
  bool fontBold_ = false;
  int z_ = 0;
  std::string toolTip_;
  int mousePointer_ = kPointerDefault;
  std::string container_;
  int alignment_ = 0;
  std::vector<std::string> items_;
  int listIndex_ = -1;
  int topIndex_ = 0;
  int selStart_ = 0;
  std::uint64_t selStartRequests_ = 0;
  std::uint64_t changes_ = 0;  // every change counts, so Ui::Restore copies only changed controls
};

enum class WindowState { Normal, Minimized };

// Input, as the backend reports it and the handlers receive it.
enum class UiEventType {
  Click, DblClick, MouseDown, MouseUp, MouseMove, KeyDown, KeyPress, KeyUp,
  GotFocus, LostFocus, Change, Resize, Close, Load, Unload
};
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;

struct UiEvent {
  UiEventType type = UiEventType::Click;
  std::string control;  // empty for the form itself
  int index = -1;
  int button = 0;       // kLeftButton, kRightButton
  int shift = 0;
  double x = 0, y = 0;  // pixels, relative to the control
  int key = 0;          // key codes: F1 112, Esc 27, Enter 13, Backspace 8
};

// A form's own state apart from its controls, kept together so that Ui can
// save and restore it whole.
struct FormState {
  bool visible_ = false;
  bool loaded_ = false;
  std::string caption_;
  Rect rect_;
  bool topmost_ = false;
  int alpha_ = 255;
  WindowState state_ = WindowState::Normal;
  bool frameless_ = false;
  bool showsWithoutFocus_ = false;
  std::vector<Rect> region_;
  std::string focus_;
  std::uint64_t revision_ = 0;
  std::uint64_t moveRequests_ = 0;
  std::uint64_t raiseRequests_ = 0;
  int zTop_ = 0;
  int zBottom_ = 0;
};

class Form : private FormState {
 public:
  explicit Form(std::string name);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  const std::string& Name() const { return name_; }

  // Controls: created once, found by name and index. A control asked for under a
  // kind it does not have is still returned, and the mismatch is recorded.
  Control& Add(const std::string& name, ControlKind kind, int index = -1);
  Control* Find(std::string_view name, int index = -1);
  const Control* Find(std::string_view name, int index = -1) const;
  // Finds a control, creating it with the given kind when it does not exist yet.
  Control& Get(const std::string& name, int index = -1, ControlKind kind = ControlKind::Picture);
  Control& Get(const ControlName& c, int index = -1) { return Get(c.name, index, c.kind); }
  Control* Find(const ControlName& c, int index = -1);
  const Control* Find(const ControlName& c, int index = -1) const;
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  // Lookups that asked for a control under the wrong kind, in order; each is also
  // reported to onKindMismatch as it happens.
  const std::vector<KindMismatch>& KindMismatches() const { return mismatches_; }
  std::function<void(const KindMismatch&)> onKindMismatch;
  // When set, input it refuses reaches no handler (a replayed table is watched, not played).
  std::function<bool(const UiEvent&)> acceptsInput;

  bool Visible() const { return visible_; }
  bool Loaded() const { return loaded_; }
  const std::string& Caption() const { return caption_; }
  const Rect& Bounds() const { return rect_; }
  bool Topmost() const { return topmost_; }
  int Alpha() const { return alpha_; }
  WindowState State() const { return state_; }
  bool Frameless() const { return frameless_; }
  // Shown without taking the keyboard from the window that has it (a card under the pointer).
  bool ShowsWithoutFocus() const { return showsWithoutFocus_; }
  const std::vector<Rect>& Region() const { return region_; }
  const std::string& FocusControl() const { return focus_; }

  void Show();
  void Hide();
  void Load();
  void Unload();  // hides and marks unloaded; controls keep their state
  void SetCaption(std::string c);
  void Move(double left, double top);
  void Move(double left, double top, double width, double height);
  void SetTopmost(bool v);
  void SetAlpha(int a);
  void SetState(WindowState s);
  void SetFrameless(bool v);
  void SetShowsWithoutFocus(bool v);
  void SetRegion(std::vector<Rect> region);  // empty = rectangular
  void SetFocus(std::string controlName);
  // One-off requests to the window system, counted so a backend sees each once:
  // let the window manager drag the window (title strip), bring it to the front.
  void BeginSystemMove() { ++moveRequests_; }
  std::uint64_t SystemMoveRequests() const { return moveRequests_; }
  void Raise() { ++raiseRequests_; Touch(); }
  std::uint64_t RaiseRequests() const { return raiseRequests_; }

  // Input: the backend calls Dispatch, which runs the handlers registered for the
  // control (all indices of a control array share one handler) and the event type.
  using Handler = std::function<void(const UiEvent&)>;
  void On(const std::string& control, UiEventType type, Handler handler);
  void On(const ControlName& control, UiEventType type, Handler handler) { On(std::string(control.name), type, std::move(handler)); }
  void Dispatch(const UiEvent& e);
  bool HasHandler(const std::string& control, UiEventType type) const;

  std::uint64_t Revision() const { return revision_; }
  void Touch() { ++revision_; }
  int NextFrontZ() { return ++zTop_; }
  int NextBackZ() { return --zBottom_; }

 private:
  friend class Ui;
  std::string name_;
  std::vector<std::unique_ptr<Control>> controls_;
  // Looked up with a view of the name: a lookup builds no string (handlers look
  // controls up by name many times a packet).
  struct KeyHash {
    using is_transparent = void;
    static std::size_t Of(std::string_view name, int index) {
      return std::hash<std::string_view>{}(name) * 31 + static_cast<std::size_t>(index);
    }
    std::size_t operator()(const std::pair<std::string_view, int>& k) const { return Of(k.first, k.second); }
    std::size_t operator()(const std::pair<std::string, int>& k) const { return Of(k.first, k.second); }
  };
  struct KeyEqual {
    using is_transparent = void;
    template <class A, class B>
    bool operator()(const A& a, const B& b) const {
      return a.second == b.second && std::string_view(a.first) == std::string_view(b.first);
    }
  };
  std::unordered_map<std::pair<std::string, int>, Control*, KeyHash, KeyEqual> byName_;
  void CheckKind(const Control& c, ControlKind wanted) const;
  mutable std::vector<KindMismatch> mismatches_;
  std::map<std::pair<std::string, UiEventType>, std::vector<Handler>> handlers_;
  std::uint64_t handlerChanges_ = 0;  // handlers registered so far
};

// All forms of the program.
class Ui {
 public:
  Form& form(std::string_view name);  // created on first use
  Form* Find(std::string_view name);
  const std::map<std::string, std::unique_ptr<Form>, std::less<>>& Forms() const { return forms_; }
  // Called when a form is created, so a backend can attach a window to it.
  std::function<void(Form&)> onFormCreated;
  // Called for every lookup of a control under the wrong kind, in any form.
  std::function<void(const std::string& form, const KindMismatch&)> onKindMismatch;
  // When set, every form's input passes it first: false drops the event.
  std::function<bool(const std::string& form, const UiEvent&)> acceptsInput;

  // A copy of every form and control, put back by Restore: forms and controls
  // made since are dropped, the others keep their identity, so the handlers
  // and Parts that hold them stay valid. Lets one client serve many
  // independent runs (fuzzing, tests); no drawing backend may be attached.
  struct Saved;
  std::shared_ptr<const Saved> Save() const;
  void Restore(const Saved& saved);

 private:
  std::map<std::string, std::unique_ptr<Form>, std::less<>> forms_;
};

}  // namespace tavrel::platform
