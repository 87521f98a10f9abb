# tarn: ignore R001
class Migration(migrations.Migration): operations = [migrations.AddIndex(model_name="order", index=None)]
