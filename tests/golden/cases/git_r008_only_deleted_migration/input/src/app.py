print("app")
