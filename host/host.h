// The substitute host: loads the three modules from a simulator folder,
// builds the panel, gives the modules the host function table, and drives
// every gauge frame by frame. One Host is active in a process at a time (the
// host operations the modules call reach it through a process-wide pointer).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "frame/records.h"
#include "host/aircraft.h"
#include "host/panel_config.h"
#include "host/sound_device.h"
#include "host/trace.h"
#include "host/variables.h"

struct SharedSection;

class ModuleArtwork;

struct LoadedModule {
    std::string name;                  // "Quillmar"
    std::string path;                  // the file it was loaded from
    void* handle = nullptr;
    std::unique_ptr<ModuleArtwork> artwork;   // its bitmaps
    LinkageHead* linkage = nullptr;
    ImportTableRecord* import_table = nullptr;
};

// What an element showed in a drawing of its gauge.
struct ElementValues {
    // Its one callback's value; a slider's or moving image's y (else x); a
    // sprite's rotation (else y, else x); without a callback its host variable's.
    double value = 0;
    // The two axes of a slider, moving image or sprite; an axis without a
    // callback takes the element's host variable.
    double x = 0, y = 0;
};

struct GaugeInstance {
    std::string module;
    GaugeHeader* header = nullptr;
    std::string name;                  // the gauge's own name
    int window = 0;                    // index into the panel's windows
    int x = 0, y = 0;                  // place in the window
    int width = 0, height = 0;         // size on screen
    MouseRect* mouse = nullptr;        // rectangle list that gets the clicks
    bool mouse_active = false;
    std::vector<ElementHead*> elements;       // depth-first tree order
    std::vector<ElementValues> values;        // per element: its last evaluation
    std::vector<int64_t> evaluated_in;        // per element: the frame of that evaluation
    int64_t values_frame = -1;                // frame of the last evaluation; -1: none since install
    std::vector<HostVariable*> variables;     // element records refreshed on update
    HostImage image{};                        // display modules: the picture
    std::vector<uint16_t> pixels;
    ElementHead* image_element = nullptr;
    int draw_calls = 0;
    bool installed = false;

    bool callback_style() const { return header->version == GAUGE_VERSION_CALLBACK; }
};

struct HostOptions {
    std::string gauges_dir;            // where the built modules are
    std::string sound_dir;             // where the sounds are ("" for none)
    std::string sim_dir;               // "" for a fresh temporary folder
    int fps = 18;
    // Offer the modules the simulated-time sound device. Without it they
    // play through the platform's real output (the viewer).
    bool simulated_sound = true;
    // Call the display modules' generate and draw routines every frame, as
    // the simulator does. Batch runs that need no pictures may skip it; their
    // pictures are then drawn when asked for.
    bool draw_displays = true;
};

// The gauge's element tree from its header, depth-first, ready for drawing.
void collect_gauge_elements(GaugeInstance& gauge);

// The first child rectangle in list order that contains (x, y) and has a
// mouse function; nullptr when there is none. A list without an end record
// is read no further than `limit` records.
MouseRect* find_mouse_rect(MouseRect* list, int x, int y, int limit = 4096);


class Host {
public:
    explicit Host(HostOptions options);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Makes the simulator folder (Gauges/ with the modules, Sound/) and makes
    // it the current directory. False and a message when that fails.
    bool prepare(std::string* error);
    const std::string& sim_dir() const { return sim_dir_; }
    std::string ini_path() const;

    // Loads the modules the panel names and installs every gauge. Lines naming
    // a module or gauge that does not exist are skipped with a warning.
    bool load(const PanelConfig& panel, std::vector<std::string>* warnings, std::string* error);
    bool loaded() const { return loaded_; }
    // Every gauge's kill service (writes the panel state file).
    void kill();
    // Kill if loaded, unload the modules, start a new flight, load again.
    bool reload(std::vector<std::string>* warnings, std::string* error);
    // A panel reload as the simulator does it: kill every gauge and install
    // the panel again, the modules staying loaded and the flight going on.
    bool reinstall(std::vector<std::string>* warnings, std::string* error);
    void unload_modules();

    // One frame: time, clock, ramps, aircraft model, every gauge's update,
    // then the panel's drawing.
    void frame();
    // The update service of every installed gauge, in panel order.
    void update_gauges();
    // What the simulator's drawing of the panel does with the modules, gauge
    // by gauge in panel order: every shown (not hidden) element's value
    // callbacks once, in tree order, and the display modules' generate and
    // draw routines (unless options say not).
    void draw_gauges();
    bool draws_displays() const { return options_.draw_displays; }
    int64_t frame_number() const { return frame_; }
    double sim_time() const { return static_cast<double>(frame_) / options_.fps; }
    int fps() const { return options_.fps; }
    bool simulated_sound() const { return options_.simulated_sound; }

    // What a script does to a host variable. A variable the host advances
    // itself (the tick counter, the simulation time, the clock and date)
    // takes the value as its new starting point and advances from there; any
    // other is pinned: the aircraft model leaves it alone until released.
    void set_variable(uint32_t id, double value);
    // A linear move to `target` over `seconds` from now; pinned meanwhile and
    // at the target afterwards (an advancing variable advances from there).
    void ramp(uint32_t id, double target, double seconds);
    // Hands the variable back: the model drives it again, or the host's own
    // count of ticks, time or clock takes over again (a clock or date variable
    // hands back the whole clock).
    void release_variable(uint32_t id);
    static bool host_advanced(uint32_t id);

    // Mouse actions at gauge pixels. Returns false when no rectangle takes it.
    bool mouse_call(GaugeInstance& gauge, int x, int y, MouseRect** hit);
    void set_space(bool down);

    // The value element `index` of the gauge showed in the last drawing of
    // the panel. A gauge not yet drawn since its install is evaluated now; an
    // element the drawing left out (hidden) is evaluated when looked at. Either
    // way no callback runs twice in one frame.
    const ElementValues& element_values(GaugeInstance& gauge, size_t index);
    double element_value(GaugeInstance& gauge, size_t index) { return element_values(gauge, index).value; }
    void evaluate_values(GaugeInstance& gauge);
    // A display module's picture when the frames do not draw them: generate
    // and draw until a drawing call has made the picture.
    void draw_display_now(GaugeInstance& gauge);

    // The bitmaps of the gauge's module.
    ModuleArtwork* artwork_of(const GaugeInstance& gauge);
    // The background bitmap a panel window names (file=), from the panel
    // file's folder (the built-in panel's: Panel/ beside Gauges/); nullptr
    // when it names none or it cannot be read.
    const struct Picture* window_background(int window);

    GaugeInstance* find_gauge(const std::string& name);
    std::vector<GaugeInstance>& gauges() { return gauges_; }
    const PanelConfig& panel() const { return panel_; }

    // Shared value channels as the modules see them; "" when not open.
    std::string channel_text(const std::string& name) const;
    static bool known_channel(const std::string& name);
    // Writes a channel's value as its owning gauge would; false when not open.
    bool write_channel(const std::string& name, int value);

    VariableStore vars;
    AircraftModel model;
    Trace trace;
    SimSoundDevice sound{&trace};

    // Services the modules call; public for the host operation table.
    void op_install(uint32_t value);
    void op_update();
    void op_draw();
    void op_kill();
    void op_mouse_install(MouseRect* rects, GaugeHeader* gauge, int32_t* size);
    void op_mouse_register(MouseRect* rects, GaugeHeader* gauge, bool active);
    void op_event(uint32_t id, uint32_t value);
    GaugeInstance* current() { return current_; }

private:
    LoadedModule* open_module(const std::string& name, std::string* error);
    void service(GaugeInstance& gauge, const char* what, void (*call)(GaugeInstance&));
    void open_channels();
    void close_channels();
    void poll_channels();
    void poll_ini();
    GaugeInstance* instance_of(GaugeHeader* header);

    HostOptions options_;
    std::string sim_dir_;
    bool temporary_sim_dir_ = false;
    std::string previous_dir_;
    std::vector<std::unique_ptr<LoadedModule>> modules_;
    std::vector<GaugeInstance> gauges_;
    PanelConfig panel_;
    std::vector<std::unique_ptr<struct Picture>> backgrounds_;
    std::vector<bool> backgrounds_read_;
    GaugeInstance* current_ = nullptr;
    bool loaded_ = false;
    int64_t frame_ = 0;
    bool space_down_ = false, space_toggled_ = false;

    struct Ramp {
        uint32_t id;
        double from, to;
        int64_t first_frame, last_frame;
    };
    std::vector<Ramp> ramps_;
    // Where a script moved the host's own counts: added to the tick counter,
    // the simulation time and the clock (seconds).
    double tick_shift_ = 0, time_shift_ = 0, clock_shift_ = 0;
    void put_variable(uint32_t id, double value);
    void advance_host_variables();

    struct Channel {
        const struct ChannelSpec* spec;
        SharedSection* section = nullptr;
        char* view = nullptr;
        std::string last;
    };
    std::vector<Channel> channels_;
    std::vector<std::pair<std::string, std::string>> ini_seen_;   // "SECTION/key" -> value
};

// The host process's services for the platform layer (channel namespace, keys,
// sound device); exported from the executable as quillmar_platform_services.
const struct PlatformHostServices* host_platform_services();
