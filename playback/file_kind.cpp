#include "playback/file_kind.h"

#include "playlist/extensions.h"

namespace {

template <class View>
FileKind KindOf(View path) {
    FileKind kind;
    kind.media = ExtensionInList(path, kMediaPlayerExtensions);
    if (kind.media) {
        kind.sound = ExtensionInList(path, kSoundExtensions);
        kind.video = ExtensionInList(path, kVideoExtensions);
    }
    return kind;
}

}  // namespace

FileKind KindOfFile(std::wstring_view path) { return KindOf(path); }
FileKind KindOfFile(std::string_view path) { return KindOf(path); }

PlayLayout LayoutForFile(const FileKind& kind, const WindowShape& window) {
    PlayLayout layout;
    if (!kind.media) {
        layout.restore_normal = window.height < kCompactBelowHeight;
        return layout;
    }
    layout.media = true;
    int height = window.height;
    if (kind.sound) {
        layout.sound = true;
        layout.picture_shown = false;
        const bool compact_already = window.flash_height == 0 && window.width <= kCompactMaxWidth;
        if (!compact_already) {
            layout.make_compact = true;
            height = kCompactHeight;
        }
    }
    if (kind.video) {
        layout.video = true;
        layout.picture_shown = true;
        layout.make_video = height < kCompactBelowHeight;
    }
    return layout;
}
