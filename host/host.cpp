#include "host/host.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "frame/channel.h"
#include "host/artwork.h"
#include "host/ini_file.h"
#include "host/os.h"
#include "platform/host_services.h"
#include "platform/shared_memory.h"

namespace fs = std::filesystem;

namespace {

Host* active_host = nullptr;
// What the modules are running now, for the report of a crash. Entering a
// gauge only notes where; the text is put together when a crash happens
// (with nothing but plain copies, as a signal handler may).
struct Running {
    const GaugeInstance* gauge = nullptr;
    const char* service = nullptr;      // "update": "during its update service"
    const char* activity = nullptr;     // otherwise: "during <activity>"
};
Running running;
char crash_text[400];

void append(char*& at, const char* end, const char* text) {
    while (*text && at < end) *at++ = *text++;
}

const char* current_context() {
    if (!running.gauge) return "in the host";
    char* at = crash_text;
    const char* end = crash_text + sizeof crash_text - 1;
    append(at, end, "in gauge ");
    append(at, end, running.gauge->module.c_str());
    append(at, end, "!");
    append(at, end, running.gauge->name.c_str());
    append(at, end, " during ");
    if (running.service) {
        append(at, end, "its ");
        append(at, end, running.service);
        append(at, end, " service");
    } else {
        append(at, end, running.activity ? running.activity : "a call");
    }
    *at = '\0';
    return crash_text;
}

// ------------------------------------------------ the host function table

void FS_CALL op_query(ElementHead*) {}
void FS_CALL op_install(ElementHead*, uint32_t value) {
    if (active_host) active_host->op_install(value);
}
void FS_CALL op_initialize(ElementHead*) {}
void FS_CALL op_update(ElementHead*) {
    if (active_host) active_host->op_update();
}
void FS_CALL op_generate(ElementHead*, uint32_t) {}
void FS_CALL op_draw(ElementHead*) {
    if (active_host) active_host->op_draw();
}
void FS_CALL op_kill(ElementHead*) {
    if (active_host) active_host->op_kill();
}
void FS_CALL op_mouse_install(MouseRect* rects, GaugeHeader* gauge, int32_t* size) {
    if (active_host) active_host->op_mouse_install(rects, gauge, size);
}
void FS_CALL op_mouse_register(MouseRect* rects, GaugeHeader* gauge) {
    if (active_host) active_host->op_mouse_register(rects, gauge, true);
}
void FS_CALL op_mouse_unregister(MouseRect* rects, GaugeHeader* gauge) {
    if (active_host) active_host->op_mouse_register(rects, gauge, false);
}
void FS_CALL op_send_event(uint32_t id, uint32_t value) {
    if (active_host) active_host->op_event(id, value);
}
void FS_CALL op_read_variable(HostVariable* variable) {
    if (active_host && variable) active_host->vars.fill(variable);
}

HostFunctionTable make_table() {
    HostFunctionTable t{};
    t.gauge_query = op_query;
    t.gauge_install = op_install;
    t.gauge_initialize = op_initialize;
    t.gauge_update = op_update;
    t.gauge_generate = op_generate;
    t.gauge_draw = op_draw;
    t.gauge_kill = op_kill;
    t.mouse_install = op_mouse_install;
    t.mouse_register = op_mouse_register;
    t.mouse_unregister = op_mouse_unregister;
    t.send_event = op_send_event;
    t.initialize_variable = op_read_variable;
    t.read_variable = op_read_variable;
    return t;
}

HostFunctionTable host_table = make_table();

// ------------------------------------------------ services for the platform

std::string channel_namespace;
bool space_down = false, space_toggled = false;

int16_t key_state(int virtual_key) {
    if (virtual_key != 0x20) return 0;
    uint16_t state = (space_down ? 0xFF80 : 0) | (space_toggled ? 1 : 0);
    return static_cast<int16_t>(state);
}

// The calendar time the modules see: the simulated seconds since the run
// began, counted from a fixed moment, so that scripted runs repeat exactly.
int64_t time_seconds() {
    constexpr int64_t run_start = 993211200;  // 2001-06-22 12:00:00 UTC, the parked clock
    return run_start + (active_host ? static_cast<int64_t>(active_host->sim_time()) : 0);
}

PlatformHostServices services{2, "", key_state, SimSoundDevice::ops(), nullptr, time_seconds};

void collect_elements(ElementHead* e, GaugeInstance& g, int depth) {
    if (!e || depth > 64 || g.elements.size() > 20000) return;
    g.elements.push_back(e);
    if (e->next)
        for (int i = 0; e->next[i] && i < 4096; ++i) collect_elements(e->next[i], g, depth + 1);
}

// Every value callback of the element once, as a drawing of it calls them
// (x before y before the single value or rotation).
ElementValues evaluate_element(ElementHead* e) {
    ValueCallback* one = nullptr;
    ValueCallback* along_x = nullptr;
    ValueCallback* along_y = nullptr;
    switch (e->type) {
    case ELEMENT_NEEDLE: one = reinterpret_cast<NeedleElement*>(e)->value; break;
    case ELEMENT_STRING: one = reinterpret_cast<StringElement*>(e)->value; break;
    case ELEMENT_ICON: one = reinterpret_cast<IconElement*>(e)->value; break;
    case ELEMENT_SLIDER: {
        auto* s = reinterpret_cast<SliderElement*>(e);
        along_x = s->value_x;
        along_y = s->value_y;
        break;
    }
    case ELEMENT_MOVING_IMAGE: {
        auto* m = reinterpret_cast<MovingImageElement*>(e);
        along_x = m->value_x;
        along_y = m->value_y;
        break;
    }
    case ELEMENT_SPRITE: {
        auto* s = reinterpret_cast<SpriteElement*>(e);
        along_x = s->offset_x;
        along_y = s->offset_y;
        one = s->rotation;
        break;
    }
    default: break;
    }
    double variable = e->variable.id ? e->variable.value : 0.0;
    ElementValues v{variable, variable, variable};
    if (along_x) v.x = along_x(e);
    if (along_y) v.y = along_y(e);
    if (one) v.value = one(e);
    else if (along_y) v.value = v.y;
    else if (along_x) v.value = v.x;
    return v;
}

}  // namespace

const PlatformHostServices* host_platform_services() {
    if (channel_namespace.empty()) channel_namespace = "q" + std::to_string(host_os::process_id());
    services.channel_namespace = channel_namespace.c_str();
    bool simulated = !active_host || active_host->simulated_sound();
    services.sound = simulated ? SimSoundDevice::ops() : nullptr;
    services.sound_device = active_host && simulated ? &active_host->sound : nullptr;
    return &services;
}

void collect_gauge_elements(GaugeInstance& g) {
    g.elements.clear();
    g.variables.clear();
    if (g.header && g.header->elements)
        for (int i = 0; g.header->elements[i] && i < 1024; ++i) collect_elements(g.header->elements[i], g, 0);
    g.values.assign(g.elements.size(), ElementValues{});
    g.evaluated_in.assign(g.elements.size(), -1);
    g.values_frame = -1;
    for (ElementHead* e : g.elements)
        if (e->variable.id) g.variables.push_back(&e->variable);
}

// ------------------------------------------------ mouse rectangles

MouseRect* find_mouse_rect(MouseRect* list, int x, int y, int limit) {
    if (!list) return nullptr;
    for (int i = 0; i < limit && list[i].type != MOUSE_END; ++i) {
        MouseRect& r = list[i];
        if (r.type != MOUSE_CHILD || !r.function) continue;
        if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return &r;
    }
    return nullptr;
}

// ------------------------------------------------ the host

Host::Host(HostOptions options) : options_(std::move(options)) {
    if (options_.fps <= 0) options_.fps = 18;
    active_host = this;
    host_platform_services();
    host_os::install_crash_reporter(current_context);
    aircraft_reset(model, vars);
    aircraft_clock(model, vars, 0);
    for (const ChannelSpec& c : channel_table) channels_.push_back(Channel{&c, nullptr, nullptr, {}});
}

Host::~Host() {
    if (loaded_) kill();
    unload_modules();
    sound.reset();
    std::error_code ec;
    if (!previous_dir_.empty()) fs::current_path(previous_dir_, ec);
    if (temporary_sim_dir_ && !sim_dir_.empty()) fs::remove_all(sim_dir_, ec);
    if (active_host == this) active_host = nullptr;
    services.sound_device = nullptr;
}

std::string Host::ini_path() const { return (fs::path(sim_dir_) / "Gauges" / "Quillmar.ini").string(); }

bool Host::prepare(std::string* error) {
    std::error_code ec;
    if (options_.sim_dir.empty()) {
        fs::path base = fs::temp_directory_path(ec);
        if (ec) base = ".";
        for (int n = 0; n < 1000 && sim_dir_.empty(); ++n) {
            fs::path candidate = base / ("quillmar-" + std::to_string(host_os::process_id()) + "-" + std::to_string(n));
            if (fs::create_directory(candidate, ec)) sim_dir_ = candidate.string();
        }
        if (sim_dir_.empty()) {
            *error = "cannot make a temporary simulator folder in " + base.string();
            return false;
        }
        temporary_sim_dir_ = true;
    } else {
        fs::create_directories(options_.sim_dir, ec);
        sim_dir_ = fs::absolute(options_.sim_dir, ec).string();
        if (!fs::is_directory(sim_dir_)) {
            *error = "cannot make the simulator folder " + options_.sim_dir;
            return false;
        }
    }
    fs::path gauges = fs::path(sim_dir_) / "Gauges";
    fs::create_directories(gauges, ec);
    if (!fs::is_directory(options_.gauges_dir)) {
        *error = "no modules folder " + options_.gauges_dir + " (build the modules, or give --gauges DIR)";
        return false;
    }
    int linked = 0;
    for (const auto& entry : fs::directory_iterator(options_.gauges_dir, ec)) {
        if (entry.path().extension() != host_os::module_suffix()) continue;
        if (!host_os::link_or_copy(entry.path().string(), (gauges / entry.path().filename()).string())) {
            *error = "cannot place " + entry.path().string() + " in " + gauges.string();
            return false;
        }
        ++linked;
    }
    if (linked == 0) {
        *error = std::string("no modules (*") + host_os::module_suffix() + ") in " + options_.gauges_dir;
        return false;
    }
    // A module's bitmaps, where they are not inside it, are the folder
    // MODULE.bitmaps beside it.
    for (const auto& entry : fs::directory_iterator(options_.gauges_dir, ec)) {
        fs::path module_file = entry.path();
        if (!entry.is_directory() || module_file.extension() != ".bitmaps") continue;
        module_file.replace_extension(host_os::module_suffix());
        if (!fs::exists(module_file)) continue;
        fs::path to = gauges / entry.path().filename();
        fs::remove(to, ec);
#if defined(_WIN32)
        fs::copy(entry.path(), to, fs::copy_options::recursive, ec);
#else
        fs::create_directory_symlink(fs::absolute(entry.path()), to, ec);
#endif
    }
    fs::path sound_link = fs::path(sim_dir_) / "Sound";
    if (!options_.sound_dir.empty() && fs::is_directory(options_.sound_dir) && !fs::exists(sound_link)) {
#if defined(_WIN32)
        fs::copy(options_.sound_dir, sound_link, fs::copy_options::recursive, ec);
#else
        fs::create_directory_symlink(fs::absolute(options_.sound_dir), sound_link, ec);
#endif
    }
    fs::create_directories(sound_link, ec);
    previous_dir_ = fs::current_path(ec).string();
    fs::current_path(sim_dir_, ec);
    if (ec) {
        *error = "cannot enter the simulator folder " + sim_dir_;
        return false;
    }
    // The simulator's main window, which DirectSound is bound to, only when
    // the modules play through the real sound device: a run on the simulated
    // device leaves DirectSound to whoever else runs beside it.
    if (!options_.simulated_sound) host_os::create_main_window();
    for (const IniEntry& e : read_ini_file(ini_path())) ini_seen_.push_back({e.section + "/" + e.key, e.value});
    return true;
}

LoadedModule* Host::open_module(const std::string& name, std::string* error) {
    for (auto& m : modules_)
        if (m->name == name) return m.get();
    fs::path path = fs::path(sim_dir_) / "Gauges" / (name + host_os::module_suffix());
    if (!fs::exists(path)) {
        *error = "no module " + path.filename().string() + " in the Gauges folder";
        return nullptr;
    }
    std::string why;
    void* handle = host_os::load_module(path.string(), &why);
    if (!handle) {
        *error = "cannot load " + path.filename().string() + ": " + why;
        return nullptr;
    }
    auto module = std::make_unique<LoadedModule>();
    module->name = name;
    module->path = path.string();
    module->handle = handle;
    module->artwork = std::make_unique<ModuleArtwork>(handle, module->path);
    module->linkage = static_cast<LinkageHead*>(host_os::module_symbol(handle, "Linkage"));
    module->import_table = static_cast<ImportTableRecord*>(host_os::module_symbol(handle, "ImportTable"));
    if (!module->linkage || !module->import_table) {
        *error = path.filename().string() + " exports no Linkage or no ImportTable";
        host_os::unload_module(handle);
        return nullptr;
    }
    // The table goes in before anything of the module runs.
    module->import_table->host_table = &host_table;
    modules_.push_back(std::move(module));
    return modules_.back().get();
}

void Host::service(GaugeInstance& g, const char* what, void (*call)(GaugeInstance&)) {
    GaugeInstance* saved = current_;
    current_ = &g;
    Running saved_running = running;
    running = Running{&g, what, nullptr};
    call(g);
    current_ = saved;
    running = saved_running;
}

bool Host::load(const PanelConfig& panel, std::vector<std::string>* warnings, std::string* error) {
    if (loaded_) kill();
    panel_ = panel;
    // The windows the panel shows from the start are open; the pop-ups wait
    // for their window events.
    uint32_t open = 0;
    for (const PanelWindow& w : panel.windows)
        if (w.visible && w.ident >= 0 && w.ident <= 31) open |= 1u << w.ident;
    vars.set(VAR_OPEN_WINDOWS, open);
    backgrounds_read_.clear();
    gauges_.clear();
    std::vector<GaugeInstance> placed;
    for (size_t w = 0; w < panel.windows.size(); ++w) {
        for (const GaugePlacement& p : panel.windows[w].gauges) {
            std::string where = panel.file_name + ":" + std::to_string(p.line) + ": ";
            std::string why;
            LoadedModule* module = open_module(p.module, &why);
            if (!module) {
                warnings->push_back(where + why + "; gauge " + p.module + "!" + p.gauge + " skipped");
                continue;
            }
            // A gauge is selected by its name; the one gauge of a single-gauge
            // module (the displays, whose name field is a credit text) also
            // answers to the module's name.
            GaugeHeader* header = nullptr;
            GaugeHeader* const* list = linkage_gauges(module->linkage);
            int count = 0;
            for (int i = 0; list[i] && i < 1024; ++i, ++count)
                if (list[i]->name && p.gauge == list[i]->name) header = list[i];
            if (!header && count == 1 && p.gauge == p.module) header = list[0];
            if (!header) {
                warnings->push_back(where + "module " + p.module + " has no gauge '" + p.gauge + "'; line skipped");
                continue;
            }
            bool twice = std::any_of(placed.begin(), placed.end(),
                                     [header](const GaugeInstance& g) { return g.header == header; });
            if (twice) {
                warnings->push_back(where + "gauge " + p.module + "!" + p.gauge + " is placed already; line skipped");
                continue;
            }
            GaugeInstance g;
            g.module = p.module;
            g.header = header;
            g.name = p.gauge;
            g.window = static_cast<int>(w);
            g.x = p.x;
            g.y = p.y;
            g.width = p.width > 0 ? p.width : static_cast<int>(header->size);
            g.height = p.height > 0 ? p.height : g.width;
            if (p.height <= 0) {
                // Placed by its width only: as high as its first image makes it.
                if (std::optional<int> h = artwork_height(*this, g)) g.height = *h;
            }
            g.mouse = header->mouse_rects;
            g.mouse_active = header->version == GAUGE_VERSION_CALLBACK;
            collect_gauge_elements(g);
            placed.push_back(std::move(g));
        }
    }
    if (placed.empty()) {
        *error = panel.file_name + ": the panel places no gauge that exists";
        return false;
    }
    gauges_ = std::move(placed);
    ini_seen_.clear();
    for (const IniEntry& e : read_ini_file(ini_path())) ini_seen_.push_back({e.section + "/" + e.key, e.value});
    trace.note("panel load " + std::to_string(gauges_.size()) + " gauges");
    trace.set_clock(sim_time(), frame_);
    for (GaugeInstance& g : gauges_) {
        for (HostVariable* v : g.variables) vars.fill(v);
        service(g, "install", [](GaugeInstance& gauge) {
            if (gauge.header->query) gauge.header->query();
            if (gauge.header->install) gauge.header->install(0);
            if (gauge.header->initialize) gauge.header->initialize();
        });
        g.installed = true;
    }
    loaded_ = true;
    open_channels();
    poll_channels();
    return true;
}

void Host::kill() {
    if (!loaded_) return;
    poll_channels();
    close_channels();
    trace.note("panel kill");
    for (GaugeInstance& g : gauges_) {
        if (!g.installed) continue;
        service(g, "kill", [](GaugeInstance& gauge) {
            if (gauge.header->kill) gauge.header->kill();
        });
        g.installed = false;
        if (g.image_element) reinterpret_cast<StaticImageElement*>(g.image_element)->image = nullptr;
        poll_ini();
    }
    loaded_ = false;
}

void Host::unload_modules() {
    if (loaded_) kill();
    gauges_.clear();
    for (auto& m : modules_) host_os::unload_module(m->handle);
    modules_.clear();
}

bool Host::reload(std::vector<std::string>* warnings, std::string* error) {
    PanelConfig panel = panel_;
    unload_modules();
    // A new flight: the aircraft parked cold and dark again, nothing held by
    // the script; ticks, time and clock run on.
    aircraft_reset(model, vars);
    std::fill(std::begin(vars.pinned), std::end(vars.pinned), false);
    ramps_.clear();
    advance_host_variables();
    return load(panel, warnings, error);
}

bool Host::reinstall(std::vector<std::string>* warnings, std::string* error) {
    PanelConfig panel = panel_;
    kill();
    return load(panel, warnings, error);
}

// The tick counter (18 a second), the simulation time and the clock and date,
// from the frame number and where the script moved them.
void Host::advance_host_variables() {
    vars.set(1, static_cast<double>(frame_) * 18.0 / options_.fps + tick_shift_);
    vars.set(557, sim_time() + time_shift_);
    aircraft_clock(model, vars, sim_time() + clock_shift_);
}

void Host::frame() {
    ++frame_;
    double t = sim_time();
    trace.set_clock(t, frame_);
    advance_host_variables();
    for (size_t i = 0; i < ramps_.size();) {
        Ramp& r = ramps_[i];
        if (frame_ >= r.last_frame) {
            put_variable(r.id, r.to);
            ramps_.erase(ramps_.begin() + static_cast<long>(i));
            continue;
        }
        double f = static_cast<double>(frame_ - r.first_frame) / static_cast<double>(r.last_frame - r.first_frame);
        put_variable(r.id, r.from + (r.to - r.from) * f);
        ++i;
    }
    aircraft_step(model, vars, 1.0 / options_.fps);
    sound.advance(t);
    update_gauges();
    draw_gauges();
    poll_channels();
}

void Host::update_gauges() {
    if (!loaded_) return;
    for (GaugeInstance& g : gauges_) {
        service(g, "update", [](GaugeInstance& gauge) {
            if (gauge.header->update) gauge.header->update();
        });
    }
}

// ------------------------------------------------ variables moved by a script

bool Host::host_advanced(uint32_t id) { return id == 1 || id == 557 || id == 3 || id == 4 || id == 5 || id == 8; }

// The value as a script puts it: an advancing variable's count is moved so
// that it reads the value now; any other is written and pinned.
void Host::put_variable(uint32_t id, double value) {
    if (!host_advanced(id)) {
        vars.set(id, value);
        vars.pin(id, true);
        return;
    }
    double moved = value - vars.get(id);
    if (id == 5) {
        // From the start of the second set, not from the fraction already run.
        double seconds = aircraft_clock_seconds(model, sim_time() + clock_shift_);
        moved -= seconds - std::floor(seconds);
    }
    if (id == 1) tick_shift_ += moved;
    else if (id == 557) time_shift_ += moved;
    else clock_shift_ += moved * (id == 3 ? 3600 : id == 4 ? 60 : id == 5 ? 1 : 86400);
    if (id == 1 || id == 557) vars.set(id, value);
    else aircraft_clock(model, vars, sim_time() + clock_shift_);
}

void Host::ramp(uint32_t id, double target, double seconds) {
    ramps_.erase(std::remove_if(ramps_.begin(), ramps_.end(), [id](const Ramp& r) { return r.id == id; }), ramps_.end());
    int64_t frames = static_cast<int64_t>(seconds * options_.fps + 0.5);
    if (frames <= 0) {
        put_variable(id, target);
        return;
    }
    if (!host_advanced(id)) vars.pin(id, true);
    ramps_.push_back(Ramp{id, vars.get(id), target, frame_, frame_ + frames});
}

void Host::set_variable(uint32_t id, double value) {
    ramps_.erase(std::remove_if(ramps_.begin(), ramps_.end(), [id](const Ramp& r) { return r.id == id; }), ramps_.end());
    put_variable(id, value);
}

void Host::release_variable(uint32_t id) {
    ramps_.erase(std::remove_if(ramps_.begin(), ramps_.end(), [id](const Ramp& r) { return r.id == id; }), ramps_.end());
    if (!host_advanced(id)) {
        vars.pin(id, false);
        return;
    }
    if (id == 1) tick_shift_ = 0;
    else if (id == 557) time_shift_ = 0;
    else clock_shift_ = 0;
    advance_host_variables();
}

bool Host::mouse_call(GaugeInstance& g, int x, int y, MouseRect** hit) {
    if (!g.mouse || !g.mouse_active || !g.installed) return false;
    MouseRect* r = find_mouse_rect(g.mouse, x, y);
    if (hit) *hit = r;
    if (!r) return false;
    MousePoint point{x, y};
    running = Running{&g, nullptr, "a mouse function"};
    r->function(&point, r->flags);
    running = Running{};
    return true;
}

void Host::set_space(bool down) {
    if (down && !space_down_) space_toggled_ = !space_toggled_;
    space_down_ = down;
    space_down = down;
    space_toggled = space_toggled_;
    host_os::set_space_key(down, space_toggled_);
}

void Host::draw_gauges() {
    if (!loaded_) return;
    for (GaugeInstance& g : gauges_) {
        if (!g.installed) continue;
        evaluate_values(g);
        if (g.callback_style() || !options_.draw_displays) continue;
        service(g, "draw", [](GaugeInstance& gauge) {
            if (gauge.header->generate) gauge.header->generate(0);
            if (gauge.header->draw) gauge.header->draw();
        });
    }
}

void Host::evaluate_values(GaugeInstance& g) {
    g.values_frame = frame_;
    if (g.elements.empty()) return;
    Running saved = running;
    running = Running{&g, nullptr, "an element value callback"};
    for (size_t i = 0; i < g.elements.size(); ++i) {
        if (g.elements[i]->image_flags & IMAGE_HIDDEN) continue;
        g.values[i] = evaluate_element(g.elements[i]);
        g.evaluated_in[i] = frame_;
    }
    running = saved;
}

const ElementValues& Host::element_values(GaugeInstance& g, size_t index) {
    static const ElementValues none{};
    if (g.values_frame < 0 && g.installed) evaluate_values(g);
    if (index >= g.values.size()) return none;
    if (g.installed && g.evaluated_in[index] != g.values_frame) {
        // Left out of the drawing (hidden): evaluated for whoever looks at
        // it, once in this frame as well.
        Running saved = running;
        running = Running{&g, nullptr, "an element value callback"};
        g.values[index] = evaluate_element(g.elements[index]);
        g.evaluated_in[index] = g.values_frame;
        running = saved;
    }
    return g.values[index];
}

void Host::draw_display_now(GaugeInstance& g) {
    if (!g.installed || g.callback_style() || !g.image_element) return;
    for (int call = 0; call < 2; ++call) {
        service(g, "draw", [](GaugeInstance& gauge) {
            if (gauge.header->generate) gauge.header->generate(0);
            if (gauge.header->draw) gauge.header->draw();
        });
        if (!(g.image_element->image_flags & IMAGE_UNCHANGED)) break;
    }
}

const Picture* Host::window_background(int window) {
    if (window < 0 || static_cast<size_t>(window) >= panel_.windows.size()) return nullptr;
    if (backgrounds_read_.size() != panel_.windows.size()) {
        backgrounds_read_.assign(panel_.windows.size(), false);
        backgrounds_.clear();
        backgrounds_.resize(panel_.windows.size());
    }
    auto w = static_cast<size_t>(window);
    if (!backgrounds_read_[w]) {
        backgrounds_read_[w] = true;
        const std::string& file = panel_.windows[w].file;
        std::error_code ec;
        fs::path folder = fs::is_regular_file(panel_.file_name, ec) ? fs::absolute(panel_.file_name, ec).parent_path()
                                                                    : fs::path(options_.gauges_dir).parent_path() / "Panel";
        std::vector<uint8_t> data;
        if (!file.empty()) {
            if (FILE* f = std::fopen((folder / file).string().c_str(), "rb")) {
                uint8_t buffer[65536];
                for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) data.insert(data.end(), buffer, buffer + n);
                std::fclose(f);
            }
        }
        auto picture = std::make_unique<Picture>();
        if (data.size() > 14 && data[0] == 'B' && data[1] == 'M' &&
            decode_dib(std::vector<uint8_t>(data.begin() + 14, data.end()), picture.get()))
            backgrounds_[w] = std::move(picture);
    }
    return backgrounds_[w].get();
}

ModuleArtwork* Host::artwork_of(const GaugeInstance& g) {
    for (auto& m : modules_)
        if (m->name == g.module) return m->artwork.get();
    return nullptr;
}

GaugeInstance* Host::find_gauge(const std::string& name) {
    size_t bang = name.find('!');
    for (GaugeInstance& g : gauges_) {
        if (bang == std::string::npos ? g.name == name
                                      : g.module == name.substr(0, bang) && g.name == name.substr(bang + 1))
            return &g;
    }
    return nullptr;
}

GaugeInstance* Host::instance_of(GaugeHeader* header) {
    for (GaugeInstance& g : gauges_)
        if (g.header == header) return &g;
    return nullptr;
}

// ------------------------------------------------ services of the gauge being serviced

void Host::op_install(uint32_t value) {
    if (!current_) return;
    GaugeInstance& g = *current_;
    if (g.callback_style()) {
        if (g.header->callback) g.header->callback(g.header, SERVICE_INSTALL, value);
        return;
    }
    // Routine style: the host's own install prepares the picture of the
    // gauge's first static image element at the gauge's size on screen.
    for (ElementHead* e : g.elements) {
        if (e->type != ELEMENT_STATIC_IMAGE) continue;
        g.image_element = e;
        g.pixels.assign(static_cast<size_t>(g.width) * g.height, 0);
        g.image = HostImage{g.width, g.height, g.width * 2, g.pixels.data()};
        reinterpret_cast<StaticImageElement*>(e)->image = &g.image;
        break;
    }
}

void Host::op_update() {
    if (!current_) return;
    GaugeInstance& g = *current_;
    for (HostVariable* v : g.variables) vars.fill(v);
    if (g.callback_style() && g.header->callback) g.header->callback(g.header, SERVICE_UPDATE, 0);
}

void Host::op_draw() {
    if (current_) ++current_->draw_calls;
}

void Host::op_kill() {
    if (!current_) return;
    GaugeInstance& g = *current_;
    if (g.callback_style() && g.header->callback) g.header->callback(g.header, SERVICE_KILL, 0);
}

void Host::op_mouse_install(MouseRect* rects, GaugeHeader* header, int32_t* size) {
    GaugeInstance* g = instance_of(header);
    if (!g) g = current_;
    if (!g) return;
    g->mouse = rects;
    if (size) {
        size[0] = g->width;
        size[1] = g->height;
    }
}

void Host::op_mouse_register(MouseRect* rects, GaugeHeader* header, bool active) {
    GaugeInstance* g = instance_of(header);
    if (!g) g = current_;
    if (!g) return;
    if (active) g->mouse = rects;
    if (g->mouse == rects) g->mouse_active = active;
}

void Host::op_event(uint32_t id, uint32_t value) {
    const EventInfo* info = aircraft_event(model, vars, id, value);
    trace.event(id, static_cast<int32_t>(value), info ? info->name : nullptr);
}

// ------------------------------------------------ channels and the panel state file

bool Host::known_channel(const std::string& name) {
    return std::any_of(std::begin(channel_table), std::end(channel_table),
                       [&name](const ChannelSpec& c) { return name == c.name; });
}

void Host::open_channels() {
    for (Channel& c : channels_) {
        c.section = shared_section_create(c.spec->name, c.spec->size);
        c.view = static_cast<char*>(shared_section_map(c.section));
        c.last.clear();
    }
}

void Host::close_channels() {
    for (Channel& c : channels_) {
        shared_section_unmap(c.view);
        shared_section_close(c.section);
        c.view = nullptr;
        c.section = nullptr;
    }
}

void Host::poll_channels() {
    for (Channel& c : channels_) {
        if (!c.view) continue;
        const char* end = static_cast<const char*>(std::memchr(c.view, 0, c.spec->size));
        size_t length = end ? static_cast<size_t>(end - c.view) : c.spec->size;
        if (length == c.last.size() && std::memcmp(c.view, c.last.data(), length) == 0) continue;
        c.last.assign(c.view, length);
        trace.channel(c.spec->name, c.last);
    }
}

std::string Host::channel_text(const std::string& name) const {
    for (const Channel& c : channels_)
        if (name == c.spec->name) {
            if (!c.view) return c.last;
            const char* end = static_cast<const char*>(std::memchr(c.view, 0, c.spec->size));
            return std::string(c.view, end ? static_cast<size_t>(end - c.view) : c.spec->size);
        }
    return std::string();
}

// Writes a channel as its owner would: "%d" into a zeroed buffer, then the
// channel's copy length of it into the section. For trying a display module
// whose owning panel is not on the panel; the owner overwrites it on its
// next write.
bool Host::write_channel(const std::string& name, int value) {
    for (Channel& c : channels_)
        if (name == c.spec->name) {
            if (!c.view) return false;
            char text[16] = {};
            std::snprintf(text, sizeof text, "%d", value);
            std::memcpy(c.view, text, c.spec->copy);
            poll_channels();
            return true;
        }
    return false;
}

void Host::poll_ini() {
    for (const IniEntry& e : read_ini_file(ini_path())) {
        std::string key = e.section + "/" + e.key;
        auto it = std::find_if(ini_seen_.begin(), ini_seen_.end(),
                               [&key](const auto& seen) { return seen.first == key; });
        if (it != ini_seen_.end() && it->second == e.value) continue;
        if (it == ini_seen_.end()) ini_seen_.push_back({key, e.value});
        else it->second = e.value;
        trace.ini(e.section, e.key, e.value);
    }
}
