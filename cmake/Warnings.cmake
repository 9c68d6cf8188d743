# Warnings are errors in every target of this project; third-party headers come in as SYSTEM.
add_compile_options(-Wall -Wextra -Wpedantic -Werror -Wshadow)
