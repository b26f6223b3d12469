#include "shell/GrellanKit_.hpp"

#include "views/VimKeyPicker.hpp"

namespace grellan {

GrellanKit_::GrellanKit_() { kit_.setVimKeyVimKey(VimKeyPicker::storedVimKey()); }

} // namespace grellan
