// A few gauges drawn by the host with their artwork, compared with small
// reference pictures (the gauge at half size, each pixel the mean of four).
// The figure is the share of pixels whose colour differs by more than 24 in
// a channel; it stays below one percent unless the artwork or its drawing
// changed. Set QUILLMAR_ARTWORK_REFERENCES to a folder to write the
// pictures there as new references (they are deterministic: the same build
// draws the same pictures).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/host.h"
#include "host/render.h"
#include "host/script.h"

namespace fs = std::filesystem;

namespace {

Picture half(const Picture& p) {
    Picture h;
    h.resize(p.width / 2, p.height / 2, Rgb{});
    for (int y = 0; y < h.height; ++y)
        for (int x = 0; x < h.width; ++x) {
            int r = 0, g = 0, b = 0;
            for (int k = 0; k < 4; ++k) {
                Rgb c = p.get(2 * x + k % 2, 2 * y + k / 2);
                r += c.r, g += c.g, b += c.b;
            }
            h.set(x, y, Rgb{r / 4, g / 4, b / 4});
        }
    return h;
}

bool read_ppm(const std::string& path, Picture* p) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    int w = 0, h = 0, depth = 0;
    bool ok = std::fscanf(f, "P6 %d %d %d", &w, &h, &depth) == 3 && depth == 255 && std::fgetc(f) != EOF && w > 0 && h > 0;
    if (ok) {
        p->resize(w, h, Rgb{});
        ok = std::fread(p->rgb.data(), 1, p->rgb.size(), f) == p->rgb.size();
    }
    std::fclose(f);
    return ok;
}

void write_ppm(const std::string& path, const Picture& p) {
    std::ofstream out(path, std::ios::binary);
    out << "P6 " << p.width << " " << p.height << " 255\n";
    out.write(reinterpret_cast<const char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
}

class ArtworkPictures : public ::testing::Test {
protected:
    void fly(const std::string& text) {
        HostOptions options;
        options.gauges_dir = QUILLMAR_GAUGES_DIR;
        host_ = std::make_unique<Host>(options);
        std::string error;
        ASSERT_TRUE(host_->prepare(&error)) << error;
        Script script;
        ASSERT_TRUE(parse_script(text, "pictures.flight", ".", &script, &error)) << error;
        RunOptions run;
        run.gauges_dir = options.gauges_dir;
        run.quiet = true;
        PanelConfig panel = parse_panel_config(default_panel_text(), "panel.cfg (built in)");
        RunResult result = run_script_on(*host_, script, run, panel, "");
        ASSERT_EQ(result.exit_code, 0);
    }

    // The share of differing pixels of the gauge against its reference.
    void compare(const std::string& gauge, const std::string& name) {
        GaugeInstance* g = host_->find_gauge(gauge);
        ASSERT_NE(g, nullptr) << gauge;
        Picture seen = half(render_gauge(*host_, *g));
        if (const char* folder = std::getenv("QUILLMAR_ARTWORK_REFERENCES")) {
            write_ppm(std::string(folder) + "/" + name + ".ppm", seen);
            return;
        }
        Picture reference;
        ASSERT_TRUE(read_ppm(std::string(ARTWORK_REFERENCE_FOLDER) + "/" + name + ".ppm", &reference))
            << "no reference picture " << name << ".ppm";
        ASSERT_EQ(seen.width, reference.width) << name;
        ASSERT_EQ(seen.height, reference.height) << name;
        int differing = 0;
        for (int y = 0; y < seen.height; ++y)
            for (int x = 0; x < seen.width; ++x) {
                Rgb a = seen.get(x, y), b = reference.get(x, y);
                differing += std::abs(a.r - b.r) > 24 || std::abs(a.g - b.g) > 24 || std::abs(a.b - b.b) > 24;
            }
        double share = static_cast<double>(differing) / (seen.width * seen.height);
        std::printf("%s: %d of %d pixels differ from the reference picture\n", name.c_str(), differing,
                    seen.width * seen.height);
        EXPECT_LT(share, 0.01) << name;
    }

    std::unique_ptr<Host> host_;
};

}  // namespace

// Day, panel lights off: the normal faces, pointers on their scale marks.
TEST_F(ArtworkPictures, AirDataInstrumentsByDay) {
    fly("set airspeed 140\nset altitude 9950\nset vertical_speed 1300\nset pitch 10\nset bank 20\nframes 20\n");
    compare("Airspeed", "airspeed_140kt");
    compare("Altimeter", "altimeter_9950ft");
    compare("Standby_Horizon", "standby_horizon_pitch_up_bank_right");
}

// Power on and the panel lights: lit legends and buttons of a systems panel.
TEST_F(ArtworkPictures, ElectricPanelLit) {
    fly("set panel_lights 1\nclick Electric 80 150\nframes 30\n");
    compare("Electric", "electric_lit");
}

// The pedestal: levers over their quadrants.
TEST_F(ArtworkPictures, PowerLevers) {
    fly("set power_lever1 8000\nframes 3\n");
    compare("Throttles", "throttles");
}
