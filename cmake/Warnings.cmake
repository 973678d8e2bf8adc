# Warnings are errors for everything of ours; third-party code built here is left alone.
function(quelvano_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-qual -Wformat=2 -Werror)
endfunction()
