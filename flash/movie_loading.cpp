// Movies and variables that scripts load at run time (loadMovie,
// loadMovieNum, loadVariables, MovieClipLoader): only local files beside
// the movie are read; the load lands at the end of the frame that asked for it.
#include "flash/avm1/vm.h"
#include "flash/movie_loader.h"
#include "flash/player.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace flash {

namespace {

// The local file a url names, or "" for addresses we do not read.
std::filesystem::path LocalPath(const std::filesystem::path& base, const std::string& url) {
    std::string path = url;
    std::string lower = avm1::FoldCase(url);
    if (lower.rfind("file:///", 0) == 0) {
        path = url.substr(8);
    } else if (url.find("://") != std::string::npos || lower.rfind("fscommand:", 0) == 0 ||
               lower.rfind("javascript:", 0) == 0 || lower.rfind("mailto:", 0) == 0) {
        return "";
    }
    // The query string of a local address is not part of the file name.
    size_t query = path.find('?');
    if (query != std::string::npos) path.resize(query);
    if (path.empty()) return "";
    // Script strings are UTF-8.
    std::filesystem::path file(std::u8string(path.begin(), path.end()));
    if (file.is_relative() && !base.empty()) file = base / file;
    return file;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string UrlDecode(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out.push_back(' ');
        } else if (text[i] == '%' && i + 2 < text.size() + 0 && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

bool ReadText(const std::filesystem::path& path, std::string* text) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return false;
    std::ostringstream buffer;
    buffer << stream.rdbuf();
    *text = buffer.str();
    return true;
}

// Whether a file holds a JPEG, PNG or GIF image, by its first bytes
// (whatever its name says).
bool IsImageFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    unsigned char head[4] = {};
    if (!stream.read(reinterpret_cast<char*>(head), sizeof head)) return false;
    if (head[0] == 0xFF && head[1] == 0xD8) return true;
    if (head[0] == 0x89 && head[1] == 'P' && head[2] == 'N' && head[3] == 'G') return true;
    return head[0] == 'G' && head[1] == 'I' && head[2] == 'F' && head[3] == '8';
}

// What a clip plays once an image loads into it: one frame, in the version
// of the movie that asked. The picture itself is not shown.
std::shared_ptr<const Movie> ImageMovie(const std::filesystem::path& path, int version) {
    auto movie = std::make_shared<Movie>();
    movie->version = version;
    std::error_code error;
    uintmax_t size = std::filesystem::file_size(path, error);
    movie->file_length = error ? 0 : static_cast<uint32_t>(std::min<uintmax_t>(size, UINT32_MAX));
    movie->stored_bytes = movie->file_length;
    movie->header_frames = 1;
    movie->timeline.frames.assign(1, Frame{});
    movie->url = FileUrl(path);
    return movie;
}

}  // namespace

void Player::LoadInto(Clip* target, int level, const std::string& url, bool variables, avm1::Object* loader) {
    pending_loads_.push_back({target, level, url, variables, loader});
}

uint32_t Player::MovieBytes(const Clip& clip) const {
    // A sprite counts its own tags; a movie's root its whole file.
    if (clip.character && clip.movie) {
        const Character* definition = clip.movie->Find(clip.character);
        if (definition && definition->sprite && !definition->button) return definition->sprite->bytes;
    }
    return clip.movie ? clip.movie->file_length : 0;
}

void Player::ProcessLoads() {
    std::vector<PendingLoad> loads = std::move(pending_loads_);
    pending_loads_.clear();
    for (const PendingLoad& load : loads) {
        if (load.variables) LoadVariablesNow(load);
        else LoadMovieNow(load);
    }
    RunQueue();
}

void Player::TellLoader(avm1::Object* loader, const char* event, Clip* target, avm1::Args extra) {
    if (!loader) return;
    avm1::Args args{avm1::Value(event), target ? avm1::Value(static_cast<avm1::Object*>(target)) : avm1::Value()};
    for (avm1::Value& v : extra) args.push_back(std::move(v));
    try {
        vm_->CallMethod(avm1::Value(loader), "broadcastMessage", std::move(args));
    } catch (avm1::ScriptThrow& thrown) {
        vm_->Warn("Warning: Uncaught exception, " + vm_->ToString(thrown.value));
    } catch (avm1::ScriptAbort&) {
    }
}

void Player::ReplaceContent(Clip& clip, std::shared_ptr<const Movie> movie) {
    for (auto& [depth, instance] : clip.children)
        if (instance.clip) {
            MarkRemoved(instance.clip);
            QueueUnload(*instance.clip);
        }
    clip.children.clear();
    clip.movie = movie.get();
    clip.timeline = &movie->timeline;
    clip.character = 0;
    clip.frame = 0;
    clip.playing = true;
    // Only _lockroot, set for the movie to come, stays of its variables.
    avm1::Property* lock = clip.FindOwn("_lockroot", false);
    avm1::Value lockroot = lock ? lock->value : avm1::Value();
    clip.properties = avm1::PropertyMap{};
    if (lock) clip.properties.Set("_lockroot", false).value = lockroot;
    clip.watches.reset();
    clip.proto = vm_->Proto("MovieClip");
    loaded_movies_.push_back(std::move(movie));
    // The clip's own event handlers stay: its load event runs again, before
    // the new first frame.
    QueueEvent(clip, kEventLoad, nullptr);
    RunFrame(clip, 0, true, false);
}

void Player::LoadMovieNow(const PendingLoad& load) {
    Clip* target = load.target;
    if (!target && load.level == 0) target = root_;
    if (!target) {
        auto found = levels_.find(load.level);
        if (found != levels_.end()) target = found->second;
    }
    if (load.url.empty()) {
        // Unloading: a level goes away, a clip is left empty.
        if (target && target != root_ && !target->parent) {
            MarkRemoved(target);
            levels_.erase(load.level);
        } else if (target) {
            for (auto& [depth, instance] : target->children)
                if (instance.clip) MarkRemoved(instance.clip);
            target->children.clear();
            target->timeline = &EmptyTimeline();
            target->frame = 0;
        }
        return;
    }
    std::filesystem::path path = LocalPath(base_folder_, load.url);
    std::shared_ptr<const Movie> movie;
    if (!path.empty()) {
        try {
            movie = std::make_shared<Movie>(LoadMovieFile(path));
        } catch (const std::exception&) {
        }
    }
    if (!movie && !path.empty() && IsImageFile(path)) movie = ImageMovie(path, movie_ ? movie_->version : 0);
    if (!movie) {
        TellLoader(load.loader, "onLoadError", target, {avm1::Value("URLNotFound")});
        return;
    }
    if (!target) {
        // A new level: a root of its own, drawn above the levels below it.
        target = vm_->heap.Make<Clip>(this, movie.get(), &movie->timeline, nullptr, 0, tick_);
        target->proto = vm_->Proto("MovieClip");
        clips_.push_back(target);
        levels_[load.level] = target;
    }
    TellLoader(load.loader, "onLoadStart", target);
    TellLoader(load.loader, "onLoadProgress", target,
               {avm1::Value(static_cast<double>(movie->file_length)), avm1::Value(static_cast<double>(movie->file_length))});
    TellLoader(load.loader, "onLoadComplete", target, {avm1::Value(0)});
    if (target == root_) {
        // A movie loaded into level 0 takes the stage over; the one it
        // replaces stays alive for the clips scripts still hold.
        loaded_movies_.push_back(movie_);
        movie_ = movie;
        vm_->stage_width = movie->StageWidth();
        vm_->stage_height = movie->StageHeight();
    }
    ReplaceContent(*target, std::move(movie));
    RunQueue();
    TellLoader(load.loader, "onLoadInit", target);
}

void Player::LoadVariablesNow(const PendingLoad& load) {
    Clip* target = load.target;
    if (!target && load.level == 0) target = root_;
    if (!target) {
        auto found = levels_.find(load.level);
        if (found == levels_.end()) return;
        target = found->second;
    }
    std::string text;
    std::filesystem::path path = LocalPath(base_folder_, load.url);
    if (path.empty() || !ReadText(path, &text)) return;
    // name=value pairs joined by '&'; a line end is part of the value it ends.
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('&', start);
        if (end == std::string::npos) end = text.size();
        std::string pair = text.substr(start, end - start);
        size_t equals = pair.find('=');
        if (!pair.empty()) {
            std::string name = UrlDecode(pair.substr(0, equals));
            std::string value = equals == std::string::npos ? "" : UrlDecode(pair.substr(equals + 1));
            vm_->Set(target, name, avm1::Value(value));
        }
        start = end + 1;
    }
    QueueEvent(*target, kEventData, "onData");
}

}  // namespace flash
