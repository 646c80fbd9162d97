// A control lives on a form: its native part exists while the form is loaded.
#pragma once

namespace rt {

class Form;

class Control {
 public:
  explicit Control(Form& form);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& form() const { return form_; }
  // Called when the form is loaded and unloaded, or when the control is
  // loaded into and unloaded from a loaded form.
  virtual void CreateNative() = 0;
  virtual void DestroyNative() = 0;

 private:
  Form& form_;
};

}  // namespace rt
