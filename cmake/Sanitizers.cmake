# ASan + UBSan with no recovery: the first report ends the process with a failure.
if(VEYRANT_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

# Coverage for libFuzzer in every target; the fuzz programs themselves link -fsanitize=fuzzer.
option(VEYRANT_FUZZ "Build the fuzz targets as libFuzzer programs (clang)" OFF)
if(VEYRANT_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
  add_link_options(-fsanitize=fuzzer-no-link)
endif()
