plugins {
    id("com.android.application")
}
