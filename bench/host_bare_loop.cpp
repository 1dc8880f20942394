// bench/host_bare_loop.cpp: the yardstick for the idle benchmark: a bare GLFW
// loop that only clears and swaps at 60 Hz, with the same window as the game.
#include <GLFW/glfw3.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace {

void SleepSeconds(double seconds) {
  timespec left;
  left.tv_sec = static_cast<time_t>(seconds);
  left.tv_nsec = static_cast<long>((seconds - std::floor(seconds)) * 1e9);
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

}  // namespace

int main() {
  if (!glfwInit()) {
    puts("glfwInit failed");
    return 1;
  }
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 2);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 1);
  GLFWwindow* window = glfwCreateWindow(640, 480, "bare loop", nullptr, nullptr);
  if (!window) {
    puts("no window");
    glfwTerminate();
    return 1;
  }
  glfwMakeContextCurrent(window);
  glfwSwapInterval(1);
  const double step = 1.0 / 60;
  double due = glfwGetTime();
  while (!glfwWindowShouldClose(window)) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glfwSwapBuffers(window);
    due += step;
    double delay = due - glfwGetTime();
    if (delay > 0) {
      SleepSeconds(delay);
    } else {
      due = glfwGetTime();
    }
    glfwPollEvents();
  }
  glfwTerminate();
  return 0;
}
