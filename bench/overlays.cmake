# Timing of the drawn overlays (frame, text and picture watermarks) against
# the decode of the same photo. Included from bench/CMakeLists.txt.
add_executable(jpg2dds_bench_overlays ${CMAKE_CURRENT_LIST_DIR}/bench_overlays.cpp)
target_link_libraries(jpg2dds_bench_overlays PRIVATE jpg2dds_core)
