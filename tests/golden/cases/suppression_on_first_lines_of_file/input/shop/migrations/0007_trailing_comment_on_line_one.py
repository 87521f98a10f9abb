class Migration(migrations.Migration): operations = [migrations.AddIndex(model_name="order", index=None)]  # tarn: ignore R001
