// The engine function table: the 244 engine functions and variables that the plug-in asks the
// engine's resolver for when it is bound, in the order of the plug-in's table. Plug-in and stand-in
// engine share the list so that both agree on every name and index. Plain standard C++: it is
// compiled into the Windows build of the plug-in as well.
#ifndef VTR3_A6_ENGINE_NAMES_H
#define VTR3_A6_ENGINE_NAMES_H

#include "a6_engine.h"

namespace a6 {

inline constexpr const char* kEngineFunctionNames[kEngineFunctionCount] = {
    // Engine access; the plug-in replaces these five with wrappers of its own.
    "engine_getobj", "engine_getscript", "engine_getfunc", "engine_callname4", "engine_callscript4",
    // Entities.
    "ent_create", "ent_remove", "ent_next", "ent_morph", "ent_clone", "ent_animate", "ent_blend", "ent_cycle",
    "ent_frames", "ent_vertices", "ent_getvertex", "ent_setvertex", "ent_getskin", "ent_setskin",
    "ent_bonerotate", "ent_bonemove", "ent_bonereset", "ent_playsound", "ent_decal",
    // Collision and movement.
    "c_move", "c_rotate", "c_trace", "c_scan", "c_setminmax", "c_updatehull",
    // Vectors and angles.
    "vec_set", "vec_zero", "vec_fill", "vec_add", "vec_sub", "vec_scale", "vec_mul", "vec_inverse",
    "vec_length", "vec_dist", "vec_dot", "vec_cross", "vec_normalize", "vec_diff", "vec_lerp", "vec_rotate",
    "vec_rotateback", "vec_to_angle", "vec_for_angle", "vec_to_screen", "vec_for_screen", "vec_for_vertex",
    "vec_accelerate", "ang_add", "ang_rotate", "ang_diff",
    // Numbers.
    "abs", "sign", "integer", "fraction", "sqrt", "pow", "exp", "log", "log10", "sin", "cos", "tan", "asin",
    "acos", "atan", "minv", "maxv", "clamp", "cycle", "random", "random_seed",
    // Matrices.
    "mat_identity", "mat_set", "mat_multiply", "mat_inverse", "mat_transpose", "mat_scale",
    // Views.
    "view_create", "view_remove", "view_check", "view_to_light",
    // Materials and effects.
    "mtl_create", "mtl_remove", "mtl_setskin", "effect_load",
    // Bitmaps and pixels.
    "bmap_create", "bmap_createblack", "bmap_remove", "bmap_load", "bmap_save", "bmap_width", "bmap_height",
    "bmap_lock", "bmap_unlock", "bmap_blit", "bmap_fill", "bmap_to_mipmap", "pixel_for_bmap", "pixel_to_bmap",
    "pixel_for_vec", "pixel_to_vec",
    // Panels, texts, fonts, drawing.
    "pan_create", "pan_remove", "pan_setdigits", "pan_setwindow", "pan_setbutton", "pan_setslider",
    "pan_setneedle", "pan_setstring", "txt_create", "txt_remove", "txt_load", "txt_setvisible", "txt_for_dir",
    "font_create", "font_remove", "draw_text", "draw_line", "draw_quad",
    // Sounds and media.
    "snd_create", "snd_remove", "snd_play", "snd_loop", "snd_stop", "snd_pause", "snd_start", "snd_tune",
    "snd_playing", "media_play", "media_loop", "media_stop", "media_playing",
    // Files.
    "file_open_read", "file_open_write", "file_open_append", "file_close", "file_var_read", "file_var_write",
    "file_str_read", "file_str_write", "file_asc_read", "file_asc_write", "file_length", "file_seek",
    "file_load", "file_save", "file_exists", "file_delete",
    // Strings.
    "str_create", "str_remove", "str_cpy", "str_cat", "str_cmp", "str_cmpi", "str_len", "str_clip",
    "str_trunc", "str_stri", "str_to_num", "str_for_num", "str_to_upper", "str_to_lower", "str_for_asc",
    "str_to_asc", "str_for_key", "str_width", "str_parse",
    // Input.
    "key_pressed", "key_for_str",
    // Level, game and system.
    "level_load", "level_free", "game_save", "game_load", "sys_exit", "sys_malloc", "sys_free", "sys_marker",
    "wait", "proc_kill", "beep", "exec", "video_set", "video_switch", "add_folder", "add_resource", "timer",

    // Engine variables from here on: the first is the engine's camera view, the others are `var`s or
    // vectors of three `var`s.
    "camera",
    // Time.
    "time_step", "time_frame", "time_smooth", "time_fac", "total_ticks", "total_frames", "total_secs",
    "sys_seconds", "sys_minutes", "sys_hours", "sys_day", "sys_month", "sys_year", "sys_dow", "fps_max",
    "fps_min", "fps_lock",
    // Engine.
    "version", "edition", "freeze_mode", "proc_mode",
    // Screen and video.
    "screen_size", "screen_color", "video_mode", "video_depth", "video_screen",
    // Fog, sky and sun.
    "sky_color", "fog_color", "fog_start", "fog_end", "sun_angle", "sun_light", "sun_color", "ambient_color",
    // Direct3D settings.
    "d3d_antialias", "d3d_anisotropy", "d3d_mipmapping", "d3d_triplebuffer", "shadow_stencil", "shadow_range",
    // Input.
    "key_lastpressed", "key_any", "mouse_mode", "mouse_pos", "mouse_left", "mouse_right", "mouse_middle",
    "mickey",
    // Statistics.
    "num_entities", "num_particles", "num_visents"};

// Too many names do not compile; too few would leave the last entries null.
static_assert(kEngineFunctionNames[kEngineFunctionCount - 1] != nullptr, "the list has 244 names");

// The entries that the plug-in replaces with wrappers of its own after resolving them.
constexpr size_t kEngineGetObjEntry = 0;
constexpr size_t kEngineGetScriptEntry = 1;
constexpr size_t kEngineGetFuncEntry = 2;
constexpr size_t kEngineCallName4Entry = 3;
constexpr size_t kEngineCallScript4Entry = 4;

// Entries before this one are functions, the rest variables.
constexpr size_t kEngineVariablesBegin = 192;

constexpr bool SameEngineName(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

static_assert(SameEngineName(kEngineFunctionNames[kEngineGetObjEntry], "engine_getobj"), "entry moved");
static_assert(SameEngineName(kEngineFunctionNames[kEngineGetScriptEntry], "engine_getscript"), "entry moved");
static_assert(SameEngineName(kEngineFunctionNames[kEngineGetFuncEntry], "engine_getfunc"), "entry moved");
static_assert(SameEngineName(kEngineFunctionNames[kEngineCallName4Entry], "engine_callname4"), "entry moved");
static_assert(SameEngineName(kEngineFunctionNames[kEngineCallScript4Entry], "engine_callscript4"),
              "entry moved");
static_assert(SameEngineName(kEngineFunctionNames[kEngineVariablesBegin], "camera"), "variables moved");

} // namespace a6

#endif
