from alembic import op


async def upgrade():
    op.drop_table("d")
