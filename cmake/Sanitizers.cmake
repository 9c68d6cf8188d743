set(VTR3_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
add_compile_options(${VTR3_SANITIZER_FLAGS})
add_link_options(${VTR3_SANITIZER_FLAGS})
