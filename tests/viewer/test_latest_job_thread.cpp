// The latest-job thread: a job posted while another waits takes its place.
#include <gtest/gtest.h>

#include <future>
#include <string>

#include "viewer/latest_job_thread.h"

using namespace verdel;

TEST(TLatestJobThread, OnlyTheNewestWaitingJobRunsAndADroppedOneNever)
{
    std::string ran; // written by the thread only, read after WaitIdle
    std::promise<void> started, release;
    std::shared_future<void> released = release.get_future().share();
    TLatestJobThread thread;
    thread.Post([&] {
        ran += 'A';
        started.set_value();
        released.wait();
    });
    started.get_future().wait(); // A runs; what comes now waits
    thread.Post([&] { ran += 'B'; });
    thread.Post([&] { ran += 'C'; });
    release.set_value();
    thread.WaitIdle();
    EXPECT_EQ(ran, "AC");
    std::promise<void> startedAgain, releaseAgain;
    thread.Post([&] {
        startedAgain.set_value();
        releaseAgain.get_future().wait();
    });
    startedAgain.get_future().wait();
    thread.Post([&] { ran += 'D'; });
    thread.Drop();
    releaseAgain.set_value();
    thread.WaitIdle();
    EXPECT_EQ(ran, "AC");
}
